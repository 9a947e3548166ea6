// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the modal boxes: records what the window showed and
// answers from queues that a test fills beforehand.
#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "dialogs.h"

class ScriptedDialogs : public korvane::Dialogs {
public:
    QStringList messages;
    QStringList captions;  // of input boxes, in order
    QStringList prompts;
    QStringList textPresets;
    QStringList textAnswers;  // answers to input boxes; none left gives ""
    QStringList fileTitles;   // of file dialogs, in order
    QStringList fileFilters;
    QStringList filePresets;
    QStringList fileAnswers;             // chosen names; "" or none left means Cancel
    QStringList filterAnswers;           // chosen save filters; none left gives the first
    QList<Choice> choices;               // answers to "save changes?"; none left gives Cancel
    QList<korvane::GifRange> gifRanges;  // answers to the GIF range box; none left means Cancel
    QStringList gifRangeLimits;          // "first..last" the box was given, in order
    int saveChangesAsked = 0;
    std::function<void()> whileAsking;  // called in each input box, as a person might act
    bool haltInInputBox = false;        // the program's input boxes end with Halt

    QStringList notes;  // messages that only tell; also listed in messages

    void message(const QString& text) override { messages << text; }
    void note(const QString& text) override
    {
        messages << text;
        notes << text;
    }

    QString askText(const QString& caption, const QString& prompt, const QString& preset) override
    {
        captions << caption;
        prompts << prompt;
        textPresets << preset;
        if (whileAsking)
            whileAsking();
        return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
    }

    bool askInput(const QString& caption, const QString& prompt, QString& answer) override
    {
        answer = askText(caption, prompt, QString());
        return !haltInInputBox;
    }

    QString openFileName(const QString& title, const QString& filter,
                         const QString& preset) override
    {
        return chooseFile(title, filter, preset);
    }

    QString saveFileName(const QString& title, const QString& filter, const QString& preset,
                         QString* selectedFilter = nullptr) override
    {
        if (selectedFilter)
            *selectedFilter =
                filterAnswers.isEmpty() ? filter.section(";;", 0, 0) : filterAnswers.takeFirst();
        return chooseFile(title, filter, preset);
    }

    Choice askSaveChanges() override
    {
        ++saveChangesAsked;
        return choices.isEmpty() ? Choice::Cancel : choices.takeFirst();
    }

    bool askGifRange(uint64_t first, uint64_t last, korvane::GifRange& range) override
    {
        gifRangeLimits << QStringLiteral("%1..%2").arg(first).arg(last);
        if (gifRanges.isEmpty())
            return false;
        range = gifRanges.takeFirst();
        return true;
    }

private:
    QString chooseFile(const QString& title, const QString& filter, const QString& preset)
    {
        fileTitles << title;
        fileFilters << filter;
        filePresets << preset;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
