// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include <QCoreApplication>

#include "program_file.h"

namespace korvane {

bool Dialogs::askInput(const QString& caption, const QString& prompt, QString& answer)
{
    answer = askText(caption, prompt, QString());
    return true;
}

QString Dialogs::gifFileName(QString& last)
{
    const QString chosen =
        saveFileName(QCoreApplication::translate("korvane::Dialogs", "Record GIF"),
                     QStringLiteral("GIF files (*.gif)"), last);
    if (chosen.isEmpty())
        return chosen;
    last = with_default_suffix(chosen, QStringLiteral(".gif"));
    return last;
}

}  // namespace korvane
