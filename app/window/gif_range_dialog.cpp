// SPDX-License-Identifier: GPL-3.0-or-later
#include "gif_range_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace korvane {

namespace {

bool readCount(const QString& text, uint64_t& value)
{
    bool ok = false;
    value = text.trimmed().toULongLong(&ok);
    return ok;
}

QLineEdit* newField(uint64_t value, const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(QString::number(value), parent);
    field->setAccessibleName(name);
    return field;
}

}  // namespace

QString read_gif_range(const QStringList& fields, uint64_t first, uint64_t last, GifRange& range,
                       int& wrong)
{
    GifRange read;
    wrong = 0;
    if (!readCount(fields.value(0), read.from) || read.from < first || read.from > last)
        return GifRangeDialog::tr("From call: give a whole number from %1 to %2.")
            .arg(first)
            .arg(last);
    wrong = 1;
    if (!readCount(fields.value(1), read.to) || read.to < read.from || read.to > last)
        return GifRangeDialog::tr("To call: give a whole number from %1 to %2.")
            .arg(read.from)
            .arg(last);
    wrong = 2;
    if (!readCount(fields.value(2), read.every))
        return GifRangeDialog::tr(
            "Frame every: give a whole number of calls, or 0 for a frame at each show.");
    wrong = -1;
    range = read;
    return QString();
}

GifRangeDialog::GifRangeDialog(uint64_t first, uint64_t last, const GifRange& preset,
                               QWidget* parent)
    : QDialog(parent),
      first_(first),
      last_(last),
      range_(preset),
      from_(newField(preset.from, tr("From call"), this)),
      to_(newField(preset.to, tr("To call"), this)),
      every_(newField(preset.every, tr("Frame every so many calls"), this)),
      error_(new QLabel(this))
{
    setWindowTitle(tr("Record GIF from the Timeline"));
    error_->setObjectName(QStringLiteral("GifRangeError"));
    error_->setWordWrap(true);
    error_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GifRangeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GifRangeDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(tr("The timeline holds calls %1 to %2.").arg(first).arg(last), this));
    form->addRow(tr("&From call:"), from_);
    form->addRow(tr("&To call:"), to_);
    form->addRow(tr("A frame &every (calls; 0: at each show):"), every_);
    form->addRow(error_);
    form->addRow(buttons);
}

QString GifRangeDialog::error() const
{
    return error_->text();
}

void GifRangeDialog::accept()
{
    const QList<QLineEdit*> fields = {from_, to_, every_};
    int wrong = -1;
    const QString problem =
        read_gif_range({from_->text(), to_->text(), every_->text()}, first_, last_, range_, wrong);
    error_->setText(problem);
    error_->setVisible(!problem.isEmpty());
    if (wrong < 0) {
        QDialog::accept();
        return;
    }
    // Back to the field at fault, so the answer can be typed at once.
    fields[wrong]->setFocus();
    fields[wrong]->selectAll();
}

}  // namespace korvane
