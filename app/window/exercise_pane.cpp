// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise_pane.h"

#include <QButtonGroup>
#include <QDockWidget>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "picture_diff.h"

namespace korvane {

namespace {

constexpr int kRunRole = Qt::UserRole;  // the item's place in runs_

QDockWidget* newDock(QMainWindow& window, const QString& title, const char* name, QWidget* widget)
{
    auto* dock = new QDockWidget(title, &window);
    dock->setObjectName(QLatin1String(name));
    dock->setWidget(widget);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                          Qt::BottomDockWidgetArea);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    return dock;
}

QString statementText(const exercise::Exercise& e, bool& markdown)
{
    markdown = false;
    if (e.statement.empty())
        return QObject::tr("This exercise has no statement.");
    QFile file(QString::fromStdString(e.path(e.statement)));
    if (!file.open(QIODevice::ReadOnly))
        return QObject::tr("Cannot open file %1").arg(file.fileName());
    markdown = file.fileName().endsWith(QLatin1String(".md"), Qt::CaseInsensitive);
    return QString::fromUtf8(file.readAll());
}

}  // namespace

ExercisePane::ExercisePane(QMainWindow& window) : QObject(&window), window_(window)
{
    statement_ = new QTextBrowser;
    statement_->setObjectName(QStringLiteral("Statement"));
    statement_->setAccessibleName(tr("Statement"));
    statement_->setOpenExternalLinks(true);
    statementDock_ = newDock(window, tr("Exercise"), "StatementDock", statement_);
    checksDock_ = newDock(window, tr("Checks"), "ChecksDock", createChecks());
    window.splitDockWidget(statementDock_, checksDock_, Qt::Vertical);
}

QWidget* ExercisePane::createChecks()
{
    auto* box = new QWidget;
    results_ = new QListWidget;
    results_->setObjectName(QStringLiteral("CheckResults"));
    results_->setAccessibleName(tr("Checks"));
    results_->setWordWrap(true);
    connect(results_, &QListWidget::currentRowChanged, this, &ExercisePane::chooseRun);
    detail_ = new QLabel;
    detail_->setObjectName(QStringLiteral("CheckDetail"));
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    viewRow_ = new QWidget;
    auto* row = new QHBoxLayout(viewRow_);
    row->setContentsMargins(0, 0, 0, 0);
    views_ = new QButtonGroup(this);
    const QString names[] = {tr("&Your canvas"), tr("A&ccepted"), tr("&Differences")};
    for (int v = CANVAS; v <= DIFFERENCES; ++v) {
        auto* button = new QToolButton;
        button->setText(names[v]);
        button->setCheckable(true);
        views_->addButton(button, v);
        row->addWidget(button);
    }
    row->addStretch(1);
    connect(views_, &QButtonGroup::idClicked, this, &ExercisePane::showView);
    timelineButton_ = new QPushButton(tr("Show in &timeline"));
    timelineButton_->setObjectName(QStringLiteral("ShowInTimeline"));
    connect(timelineButton_, &QPushButton::clicked, this, [this] {
        if (const CheckedRun* chosen = chosenDifference())
            emit timelineAsked(*chosen);
    });
    row->addWidget(timelineButton_);

    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(results_, 1);
    column->addWidget(detail_);
    column->addWidget(viewRow_);
    setResults({});
    return box;
}

void ExercisePane::addToMenu(QMenu& menu)
{
    menu.addAction(statementDock_->toggleViewAction());
    menu.addAction(checksDock_->toggleViewAction());
}

void ExercisePane::setExercise(std::shared_ptr<const exercise::Exercise> exercise)
{
    exercise_ = std::move(exercise);
    setResults({});
    if (!exercise_) {
        statementDock_->hide();
        checksDock_->hide();
        return;
    }
    statementDock_->setWindowTitle(QString::fromStdString(exercise_->title));
    bool markdown = false;
    const QString text = statementText(*exercise_, markdown);
    // Pictures the statement names are files of the exercise's folder.
    const QString folder = QString::fromStdString(exercise_->folder);
    statement_->setSearchPaths({folder});
    statement_->document()->setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
    if (markdown)
        statement_->setMarkdown(text);
    else
        statement_->setPlainText(text);
    statementDock_->show();
    checksDock_->show();
}

void ExercisePane::setNote(const QString& text)
{
    setResults({});
    results_->addItem(text);
}

void ExercisePane::setResults(std::vector<CheckedRun> runs)
{
    runs_ = std::move(runs);
    results_->clear();
    int firstDifference = -1;
    for (size_t r = 0; r < runs_.size(); ++r) {
        const std::vector<std::string> lines = exercise::check_lines(runs_[r].run);
        for (size_t l = 0; l < lines.size(); ++l) {
            const std::string text =
                l == 0 ? exercise::check_title(*exercise_, runs_[r].index) + ": " + lines[0]
                       : lines[l];
            auto* item = new QListWidgetItem(QString::fromStdString(text), results_);
            item->setData(kRunRole, static_cast<int>(r));
            if (l == 0 && !runs_[r].run.hint.empty())
                item->setToolTip(QString::fromStdString(runs_[r].run.hint));
        }
        if (firstDifference < 0 && runs_[r].run.status == exercise::Status::DIFFERS)
            firstDifference = results_->count() - static_cast<int>(lines.size());
    }
    if (firstDifference >= 0) {
        views_->button(DIFFERENCES)->setChecked(true);
        results_->setCurrentRow(firstDifference);
    } else {
        chooseRun();
    }
}

QStringList ExercisePane::lines() const
{
    QStringList listed;
    for (int i = 0; i < results_->count(); ++i)
        listed << results_->item(i)->text();
    return listed;
}

const CheckedRun* ExercisePane::chosenDifference() const
{
    const QListWidgetItem* item = results_->currentItem();
    if (!item || !item->data(kRunRole).isValid())
        return nullptr;
    const CheckedRun& chosen = runs_.at(item->data(kRunRole).toUInt());
    return chosen.run.status == exercise::Status::DIFFERS ? &chosen : nullptr;
}

// The detail says what a student can act on: the first difference, or the
// error's hint; the views and the timeline serve a differing check only.
void ExercisePane::chooseRun()
{
    const QListWidgetItem* item = results_->currentItem();
    const CheckedRun* chosen =
        item && item->data(kRunRole).isValid() ? &runs_.at(item->data(kRunRole).toUInt()) : nullptr;
    QString detail;
    if (chosen && chosen->run.status == exercise::Status::DIFFERS) {
        const std::vector<std::string> lines = exercise::check_lines(chosen->run);
        for (size_t l = 1; l < lines.size(); ++l)
            detail += QString::fromStdString(lines[l]) + QLatin1Char('\n');
    } else if (chosen && chosen->run.status != exercise::Status::PASS) {
        detail = QString::fromStdString(chosen->run.report + '\n' + chosen->run.hint);
    }
    detail_->setText(detail.trimmed());
    detail_->setVisible(!detail_->text().isEmpty());
    viewRow_->setVisible(chosenDifference() != nullptr);
    if (chosenDifference())
        showView();
}

void ExercisePane::setView(View view)
{
    views_->button(view)->setChecked(true);
    showView();
}

void ExercisePane::showView()
{
    const CheckedRun* chosen = chosenDifference();
    if (!chosen)
        return;
    const Picture& canvas = chosen->run.canvas;
    const Picture& accepted = exercise::accepted_picture(*exercise_, chosen->index, chosen->run);
    switch (views_->checkedId()) {
    case ACCEPTED:
        emit pictureChosen(accepted);
        break;
    case DIFFERENCES:
        emit pictureChosen(diff_picture(accepted, canvas));
        break;
    default:
        emit pictureChosen(canvas);
        break;
    }
}

}  // namespace korvane
