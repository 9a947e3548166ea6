// SPDX-License-Identifier: GPL-3.0-or-later
// The box GIF… under the timeline asks with: from call, to call and a frame
// every so many calls, each in a field of its own. OK keeps the box open,
// saying what is wrong, until the three make a range.
#pragma once

#include <QDialog>

#include "dialogs.h"

class QLabel;
class QLineEdit;

namespace korvane {

// Reads the three fields (from, to, every) against the timeline's calls
// first..last into range; the error to show, with the field at fault in
// wrong, or an empty text when they make a range.
QString read_gif_range(const QStringList& fields, uint64_t first, uint64_t last, GifRange& range,
                       int& wrong);

class GifRangeDialog : public QDialog {
    Q_OBJECT

public:
    GifRangeDialog(uint64_t first, uint64_t last, const GifRange& preset,
                   QWidget* parent = nullptr);

    const GifRange& range() const { return range_; }
    QLineEdit* fromField() const { return from_; }
    QLineEdit* toField() const { return to_; }
    QLineEdit* everyField() const { return every_; }
    QString error() const;

    void accept() override;

private:
    uint64_t first_;
    uint64_t last_;
    GifRange range_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* every_;
    QLabel* error_;
};

}  // namespace korvane
