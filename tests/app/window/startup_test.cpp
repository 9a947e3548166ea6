// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the palette dialog, the last program, the labels, the fallback
// palette when no palette file could be loaded, and the choice of folder
// and program.
#include <QFileInfo>
#include <QLabel>
#include <QProcess>

#include "korvane_version.h"
#include "window_fixture.h"
#include "workspace.h"

TEST_F(WindowTest, StartUpAsksForThePalettePresetInTheCurrentFolderAndLoadsXxxCg)
{
    writeFile("xxx.cg", "main()\r\n{\r\n}");
    openWindow();
    ASSERT_FALSE(dialogs.fileTitles.isEmpty());
    EXPECT_EQ(dialogs.fileTitles.first(), "Open Palette File");
    EXPECT_EQ(dialogs.filePresets.first(), path("allcolr.pal"));
    EXPECT_TRUE(dialogs.fileFilters.first().contains("*.pal"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(editor()->text(), "main()\n{\n}");
    EXPECT_FALSE(editor()->isModified());
    EXPECT_EQ(canvas()->image().colorTable().at(1), qRgb(255, 0, 0));
    EXPECT_EQ(canvas()->size(), QSize(400, 400));
}

// A first start in an empty folder is no error: the editor is simply empty.
// A palette chosen once is not asked for again, unless its file is gone.
TEST_F(WindowTest, FirstStartWithoutXxxCgIsQuietAndThePaletteIsAskedOnce)
{
    openWindow();
    EXPECT_EQ(dialogs.messages, QStringList());
    EXPECT_TRUE(editor()->text().isEmpty());
    EXPECT_EQ(window_->windowTitle(), "Untitled[*] - Korvane");
    window_.reset();
    window_ = std::make_unique<korvane::MainWindow>(dialogs);
    EXPECT_EQ(dialogs.fileTitles, QStringList{"Open Palette File"});
    EXPECT_EQ(canvas()->image().colorTable().at(1), qRgb(255, 0, 0));
    window_.reset();
    QFile::remove(QStringLiteral("allcolr.pal"));
    window_ = std::make_unique<korvane::MainWindow>(dialogs);
    EXPECT_EQ(dialogs.fileTitles, (QStringList{"Open Palette File", "Open Palette File"}));
}

TEST_F(WindowTest, ACancelledOrRefusedPaletteFallsBackToTheBuiltInOne)
{
    for (const QString& answer : {QString(), QStringLiteral("missing.pal")}) {
        writeFile("xxx.cg", QByteArray());
        dialogs.fileAnswers = QStringList{answer};
        dialogs.messages.clear();
        window_ = std::make_unique<korvane::MainWindow>(dialogs);
        ASSERT_EQ(dialogs.messages.size(), 1) << answer.toStdString();
        EXPECT_TRUE(dialogs.messages.first().contains("built-in palette"));
        const QList<QRgb> colours = canvas()->image().colorTable();
        const auto& builtIn = korvane::default_palette();
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(colours.at(i), qRgb(builtIn[4 * i], builtIn[4 * i + 1], builtIn[4 * i + 2]));
    }
}

TEST_F(WindowTest, AxisLabelsNameTheCanvasCorners)
{
    openQuietly();
    const QRect c = canvas()->geometry();
    ASSERT_EQ(c, QRect(32, 8, 400, 400));
    const auto label = [&](const char* name) {
        return window_->findChild<QLabel*>(name)->geometry();
    };
    EXPECT_EQ(label("Label1").right(), c.left() - 5);
    EXPECT_EQ(label("Label1").top(), c.top());
    EXPECT_EQ(label("Label2").right(), c.left() - 5);
    EXPECT_EQ(label("Label2").bottom(), c.bottom());
    EXPECT_EQ(label("Label3").topLeft(), QPoint(c.left(), c.bottom() + 5));
    EXPECT_EQ(label("Label4").right(), c.right());
    EXPECT_EQ(label("Label4").top(), c.bottom() + 5);
}

namespace {

// A home folder, another folder and an installed data folder, in a fresh
// temporary folder.
struct Places {
    QTemporaryDir base;
    QString at(const QString& name) const { return base.filePath(name); }

    Places()
    {
        for (const char* folder : {"home", "elsewhere", "data/examples"})
            QDir().mkpath(at(folder));
        put("data/allcolr.pal", QByteArray(1024, '\7'));
        put("data/examples/hello.cg", "main()\r\n{\r\n}");
        put("data/examples/lines.cg", "main() {}");
    }

    void put(const QString& name, const QByteArray& bytes) const
    {
        QFile file(at(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile file(at(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

    korvane::StartupRequest request(bool workspace, const QString& current) const
    {
        korvane::StartupRequest r;
        r.workspace = workspace;
        r.current = at(current);
        r.home = at("home");
        r.workspaceFolder = at("home/korvane");
        r.dataFolder = at("data");
        return r;
    }
};

}  // namespace

TEST(Workspace, AMenuStartWorksInTheWorkspaceATerminalStartInItsFolder)
{
    struct Row {
        const char* name;
        bool asked;
        const char* current;
        bool homeHasXxx;
        const char* folder;
    };
    const Row rows[] = {
        {"desktop entry", true, "elsewhere", false, "home/korvane"},
        {"desktop entry, home has xxx.cg", true, "home", true, "home/korvane"},
        {"launcher in home", false, "home", false, "home/korvane"},
        {"terminal in home with xxx.cg", false, "home", true, "home"},
        {"terminal elsewhere", false, "elsewhere", false, "elsewhere"},
    };
    for (const Row& row : rows) {
        Places places;
        if (row.homeHasXxx)
            places.put("home/xxx.cg", "mine");
        const korvane::Startup startup =
            korvane::choose_startup(places.request(row.asked, row.current));
        EXPECT_EQ(startup.folder.toStdString(), places.at(row.folder).toStdString()) << row.name;
        EXPECT_EQ(startup.error.toStdString(), "") << row.name;
        const bool inWorkspace = startup.folder == places.at("home/korvane");
        EXPECT_EQ(QFileInfo::exists(places.at("home/korvane")), inWorkspace) << row.name;
        if (inWorkspace) {
            EXPECT_EQ(places.read("home/korvane/allcolr.pal"), QByteArray(1024, '\7')) << row.name;
            EXPECT_EQ(places.read("home/korvane/xxx.cg"), "main()\r\n{\r\n}") << row.name;
            EXPECT_EQ(places.read("home/korvane/examples/lines.cg"), "main() {}") << row.name;
        }
    }
}

TEST(Workspace, KeepsWhatTheUserHasAndSaysWhatItCouldNotMake)
{
    Places kept;
    QDir().mkpath(kept.at("home/korvane"));
    kept.put("home/korvane/xxx.cg", "mine");
    EXPECT_EQ(korvane::choose_startup(kept.request(true, "home")).error.toStdString(), "");
    EXPECT_EQ(kept.read("home/korvane/xxx.cg"), "mine");
    EXPECT_EQ(kept.read("home/korvane/allcolr.pal"), QByteArray(1024, '\7'));

    Places blocked;
    blocked.put("home/korvane", "a file where the folder should be");
    const korvane::Startup stayed = korvane::choose_startup(blocked.request(true, "elsewhere"));
    EXPECT_EQ(stayed.folder.toStdString(), blocked.at("elsewhere").toStdString());
    EXPECT_EQ(stayed.error.toStdString(),
              ("Cannot create folder " + blocked.at("home/korvane")).toStdString());

    Places noData;
    QDir(noData.at("data")).removeRecursively();
    const korvane::Startup bare = korvane::choose_startup(noData.request(true, "home"));
    EXPECT_EQ(bare.folder.toStdString(), noData.at("home/korvane").toStdString());
    EXPECT_TRUE(bare.error.startsWith("Cannot open file " + noData.at("data")))
        << bare.error.toStdString();
}

TEST_F(WindowTest, AProgramGivenAtStartIsOpenedInsteadOfXxxCg)
{
    Places places;
    places.put("elsewhere/prog.cg", "main()\r\n{\r\n  line(0, 0, 9, 9);\r\n}");
    korvane::StartupRequest request = places.request(true, "elsewhere");
    request.program = QStringLiteral("prog.cg");  // relative to where it was started
    const korvane::Startup startup = korvane::choose_startup(request);
    ASSERT_EQ(startup.program.toStdString(), places.at("elsewhere/prog.cg").toStdString());

    dialogs.fileAnswers = QStringList{path(QStringLiteral("allcolr.pal"))};
    window_ = std::make_unique<korvane::MainWindow>(dialogs, startup.program);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('|').toStdString();
    EXPECT_EQ(editor()->text(), "main()\n{\n  line(0, 0, 9, 9);\n}");
    window_->saveProgramAs();  // cancelled: only the preset is looked at
    EXPECT_EQ(dialogs.filePresets.last(), startup.program);
}

// Over ssh there is no display; asking for the version or the usage must
// still work, so a real process runs with none.
TEST(CommandLine, VersionAndHelpPrintAndSucceedWithoutADisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    const struct {
        const char* option;
        QByteArray printed;
    } cases[] = {{"--version", QByteArray("Korvane ") + korvane::kVersion + '\n'},
                 {"--help", "--workspace"}};
    for (const auto& c : cases) {
        QProcess korvane;
        korvane.setProcessEnvironment(env);
        korvane.start(QStringLiteral(KORVANE_EXE), {QLatin1String(c.option)});
        ASSERT_TRUE(korvane.waitForFinished(10000)) << c.option;
        EXPECT_EQ(korvane.exitStatus(), QProcess::NormalExit) << c.option;
        EXPECT_EQ(korvane.exitCode(), 0) << c.option;
        EXPECT_TRUE(korvane.readAllStandardOutput().contains(c.printed)) << c.option;
    }
}
