// SPDX-License-Identifier: GPL-3.0-or-later
// The student's side of an exercise: the window's Check says what the
// runner's --check says, and an archive cannot write outside its folder.
#include <zlib.h>

#include <QDockWidget>
#include <QListWidget>
#include <QProcess>
#include <QSlider>
#include <QTest>
#include <algorithm>

#include "exercise_pane.h"
#include "timeline_bar.h"
#include "window_fixture.h"
#include "zip_folder.h"

namespace {

const QString kCircle = QStringLiteral(KORVANE_COURSE "/04-midpoint-circle");

// The course's model with the last of its eight points one pixel too high.
QString slippedCircle()
{
    QFile model(kCircle + QStringLiteral("/model.cg"));
    EXPECT_TRUE(model.open(QIODevice::ReadOnly));
    return QString::fromUtf8(model.readAll())
        .replace(QStringLiteral("point(cx - y, cy - x);"),
                 QStringLiteral("point(cx - y, cy - x + 1);"));
}

struct ZipEntry {
    QByteArray name, data;
    bool link = false;
};

void put16(QByteArray& out, uint32_t v)
{
    out.append(char(v & 0xff)).append(char(v >> 8 & 0xff));
}
void put32(QByteArray& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// A zip of raw-deflated entries, made on Unix; a link's data is its target.
QByteArray makeZip(const QList<ZipEntry>& entries)
{
    QByteArray out, central;
    for (const ZipEntry& e : entries) {
        QByteArray packed(static_cast<int>(compressBound(e.data.size())) + 64, '\0');
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(e.data.constData()));
        z.avail_in = e.data.size();
        z.next_out = reinterpret_cast<Bytef*>(packed.data());
        z.avail_out = packed.size();
        deflate(&z, Z_FINISH);
        packed.truncate(static_cast<int>(z.total_out));
        deflateEnd(&z);
        const uint32_t crc =
            crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()), e.data.size());
        const uint32_t offset = out.size();
        put32(out, 0x04034b50);
        for (uint32_t v : {20u, 0u, 8u, 0u, 0u})
            put16(out, v);
        put32(out, crc);
        put32(out, packed.size());
        put32(out, e.data.size());
        put16(out, e.name.size());
        put16(out, 0);
        out += e.name + packed;
        put32(central, 0x02014b50);
        for (uint32_t v : {3u << 8 | 20u, 20u, 0u, 8u, 0u, 0u})
            put16(central, v);
        put32(central, crc);
        put32(central, packed.size());
        put32(central, e.data.size());
        for (uint32_t v : {uint32_t(e.name.size()), 0u, 0u, 0u, 0u})
            put16(central, v);
        put32(central, (e.link ? 0120777u : 0100644u) << 16);
        put32(central, offset);
        central += e.name;
    }
    const uint32_t start = out.size();
    out += central;
    put32(out, 0x06054b50);
    for (uint32_t v : {0u, 0u, uint32_t(entries.size()), uint32_t(entries.size())})
        put16(out, v);
    put32(out, central.size());
    put32(out, start);
    put16(out, 0);
    return out;
}

}  // namespace

class ExerciseTest : public WindowTest {
protected:
    korvane::ExercisePane& pane() const { return *window_->exercisePane(); }

    void check(const QString& program)
    {
        editor()->setText(program);
        window_->findChild<QAction*>(QStringLiteral("Check1"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isChecking(), 30000);
    }
};

// Every line as the runner prints it, a forbidden built-in (on the error
// stream there) included.
TEST_F(ExerciseTest, CheckListsWhatTheRunnerSays)
{
    openQuietly();
    ASSERT_TRUE(window_->loadExercise(kCircle + QStringLiteral("/exercise.json")));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("circle.cg[*] - Korvane"));
    EXPECT_TRUE(editor()->text().contains(QStringLiteral("For now only the four ends")));
    const QString forbidden = QStringLiteral("main()\n{\n    circle(200, 200, 20);\n}\n");
    for (const QString& program : {slippedCircle(), forbidden}) {
        check(program);
        writeFile(QStringLiteral("student.cg"), program.toUtf8());
        QProcess runner;
        runner.start(QStringLiteral(KORVANE_RUN_EXE),
                     {path(QStringLiteral("student.cg")), QStringLiteral("--check"), kCircle});
        ASSERT_TRUE(runner.waitForFinished(30000));
        const QString said =
            QString::fromUtf8(runner.readAllStandardOutput() + runner.readAllStandardError());
        EXPECT_EQ(pane().lines().join(u'\n') + u'\n', said);
    }
    EXPECT_EQ(pane().lines(), QStringList{QStringLiteral("forbidden built-in circle in line 2")});
    EXPECT_EQ(markedLines(korvane::MARK_ERROR), QList<int>{2});
}

// The differences show the pixels off in red; the timeline goes to the
// first difference's call and the editor to its line.
TEST_F(ExerciseTest, DifferingCheckShowsItsFirstDifference)
{
    openQuietly();
    ASSERT_TRUE(window_->loadExercise(kCircle));
    check(slippedCircle());
    const korvane::CheckedRun* chosen = pane().chosenDifference();
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->index, 0u);
    const auto& pixels = canvas()->picture().pixels;
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), uint8_t{255}), 12);
    pane().timelineButton()->click();
    waitForRun();
    EXPECT_EQ(window_->timelineBar()->call(), 49u);
    EXPECT_EQ(window_->timelineBar()->callText(),
              QStringLiteral("line 14: point(181, 196) colour 6"));
    int line = -1, column = -1;
    editor()->getCursorPosition(&line, &column);
    EXPECT_EQ(line, 14);
}

// A zip of the course's folder opens as the folder does; a fault in it is
// named by the archive, not by the temporary folder it was unpacked to.
TEST_F(ExerciseTest, OpensAZipOfAFolder)
{
    openQuietly();
    QList<ZipEntry> entries;
    for (const QString& name : QDir(kCircle).entryList(QDir::Files))
        entries.append({"04-midpoint-circle/" + name.toUtf8(), readFile(kCircle + u'/' + name)});
    writeFile(QStringLiteral("circle.zip"), makeZip(entries));
    ASSERT_TRUE(window_->loadExercise(path(QStringLiteral("circle.zip"))));
    EXPECT_EQ(pane().statementDock()->windowTitle(), QStringLiteral("Midpoint circle"));
    EXPECT_EQ(dialogs.messages, QStringList());
    writeFile(QStringLiteral("bad.zip"), makeZip({{"exercise.json", "{\"checks\": 3}"}}));
    EXPECT_FALSE(window_->loadExercise(path(QStringLiteral("bad.zip"))));
    EXPECT_EQ(dialogs.messages,
              QStringList{path(QStringLiteral("bad.zip")) +
                          QStringLiteral(": exercise.json: \"checks\": must be a list of check "
                                         "objects, at least one")});
    EXPECT_EQ(pane().statementDock()->windowTitle(), QStringLiteral("Midpoint circle"));
}

TEST(ZipFolder, RefusesEntriesLeadingOut)
{
    QTemporaryDir dir;
    const QString into = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(into));
    struct Case {
        QList<ZipEntry> entries;
        QString error;
    } cases[] = {
        {{{"ex/exercise.json", "{}"}, {"../x", "out"}}, "%1: \"../x\" points outside the folder"},
        {{{"ex/link", "/etc/passwd", true}}, "%1: \"ex/link\" is a link"},
        {{{"ex/big.png", QByteArray(korvane::kMaxEntryBytes + 1, 'a')}},
         "%1: \"ex/big.png\" is larger than 1 MB"},
    };
    for (const Case& c : cases) {
        const QString zip = dir.filePath(QStringLiteral("a.zip"));
        QFile file(zip);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(makeZip(c.entries));
        file.close();
        QString error;
        EXPECT_FALSE(korvane::unzip_folder(zip, into, error));
        EXPECT_EQ(error, c.error.arg(zip));
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x"))));
        EXPECT_FALSE(QFileInfo::exists(into + QStringLiteral("/ex/link")));
    }
    // A sound archive comes out whole, one byte past a bound included.
    const QByteArray data(korvane::kMaxEntryBytes, 'b');
    const QString zip = dir.filePath(QStringLiteral("b.zip"));
    QFile file(zip);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(makeZip({{"ok/deep/data.txt", data}}));
    file.close();
    QString error;
    EXPECT_TRUE(korvane::unzip_folder(zip, into, error)) << error.toStdString();
    QFile out(into + QStringLiteral("/ok/deep/data.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), data);
}

// Closing the exercise keeps the student's program; Run then asks for
// input again instead of answering from the first check's file ("1").
TEST_F(ExerciseTest, ClosingKeepsTheProgramAndForgetsTheAnswers)
{
    openQuietly();
    ASSERT_TRUE(window_->loadExercise(kCircle));
    const QString program =
        QStringLiteral("main()\n{\n    int a;\n    a = getnum();\n    print(a + 40);\n}\n");
    run(program);
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("41 "));
    EXPECT_EQ(dialogs.captions.size(), 0);
    QAction* close = window_->findChild<QAction*>(QStringLiteral("CloseExercise"));
    ASSERT_TRUE(close->isEnabled());
    close->trigger();
    EXPECT_FALSE(close->isEnabled());
    EXPECT_FALSE(window_->findChild<QAction*>(QStringLiteral("Check1"))->isEnabled());
    EXPECT_TRUE(pane().statementDock()->isHidden());
    EXPECT_TRUE(pane().checksDock()->isHidden());
    EXPECT_EQ(editor()->text(), program);
    dialogs.textAnswers << QStringLiteral("2");
    window_->runProgram();
    waitForRun();
    EXPECT_EQ(dialogs.captions.size(), 1);
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("42 "));
}
