// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: product name, version, licence and purpose, with a button
// that shows the licence's full text. Created once and shown modally each
// time About is chosen.
#pragma once

#include <QDialog>

class QKeyEvent;

namespace korvane {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createPanel();
    void showLicence();
};

}  // namespace korvane
