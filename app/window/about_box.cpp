// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_box.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "korvane_version.h"
#include "logo.h"

namespace korvane {

namespace {

QLabel* placeLabel(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About KVW"));
    setFixedSize(298, 213);
    createPanel();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(111, 180, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* licence = new QPushButton(QStringLiteral("Licence…"), this);
    licence->setObjectName(QStringLiteral("LicenceButton"));
    licence->setGeometry(8, 180, 75, 25);
    licence->setAutoDefault(false);
    connect(licence, &QPushButton::clicked, this, &AboutBox::showLicence);
}

// The full text, as the LICENSE file at the top of the sources has it.
void AboutBox::showLicence()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Korvane licence"));
    dialog.resize(620, 480);
    QFile file(QStringLiteral(":/licence/LICENSE"));  // compiled in: it always opens
    const QString licence =
        file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    auto* text = new QPlainTextEdit(licence, &dialog);
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.exec();
}

void AboutBox::createPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(8, 8, 281, 161);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);

    auto* icon = placeLabel(panel, QString(), QRect(16, 16, 105, 41));
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(korvane_logo());
    icon->setScaledContents(true);

    placeLabel(panel, QStringLiteral("Korvane"), QRect(128, 16, 140, 16))
        ->setObjectName(QStringLiteral("ProductName"));
    placeLabel(panel, QStringLiteral("Version %1").arg(QLatin1String(kVersion)),
               QRect(128, 32, 140, 16))
        ->setObjectName(QStringLiteral("Version"));
    placeLabel(panel, QStringLiteral("GPL-3.0-or-later"), QRect(128, 48, 140, 16))
        ->setObjectName(QStringLiteral("Licence"));
    placeLabel(panel, QStringLiteral("Copyright \u00a9 the Korvane developers"),
               QRect(8, 80, 257, 16))
        ->setObjectName(QStringLiteral("Copyright"));
    auto* comments = placeLabel(
        panel,
        QStringLiteral("KVW combines a language interpreter with a graphics display to form a "
                       "highly responsive environment for developing and debugging graphics "
                       "algorithms."),
        QRect(8, 100, 257, 56));  // four lines: our sans font is wider than the layout's
    comments->setObjectName(QStringLiteral("Comments"));
    comments->setWordWrap(true);
}

// The box has no cancel button, so Escape leaves it open; OK, Enter and the
// close box close it.
void AboutBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace korvane
