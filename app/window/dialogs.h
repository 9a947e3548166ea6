// SPDX-License-Identifier: GPL-3.0-or-later
// Every modal box the window shows goes through this interface, so that
// tests can answer the boxes from a script instead of a person.
#pragma once

#include <QString>
#include <cstdint>

namespace korvane {

// Calls from..to of a timeline, a frame every `every` calls (0: at each show).
struct GifRange {
    uint64_t from = 0;
    uint64_t to = 0;
    uint64_t every = 0;
};

class Dialogs {
public:
    enum class Choice { Save, Discard, Cancel };

    virtual ~Dialogs() = default;

    // A message with one OK button; returns once it was dismissed. Messages
    // say something went wrong; notes only tell (a count, a halt).
    virtual void message(const QString& text) = 0;
    virtual void note(const QString& text) = 0;
    // An input line, offering preset; Cancel gives an empty answer.
    virtual QString askText(const QString& caption, const QString& prompt,
                            const QString& preset) = 0;
    // The program's input box: askText's line with Halt beside OK and
    // Cancel, since the box keeps the window's Halt out of reach; false when
    // Halt was pressed.
    virtual bool askInput(const QString& caption, const QString& prompt, QString& answer);
    // File dialogs; an empty result means the user cancelled. Filters are
    // separated by ";;"; selectedFilter, if given, names the one to offer
    // first (none if empty) and receives the one chosen.
    virtual QString openFileName(const QString& title, const QString& filter,
                                 const QString& preset) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& preset,
                                 QString* selectedFilter = nullptr) = 0;
    // Asked before changed editor text would be thrown away.
    virtual Choice askSaveChanges() = 0;
    // The calls to record as a GIF, among first..last, offering range; false
    // when cancelled. The range given back is a valid one.
    virtual bool askGifRange(uint64_t first, uint64_t last, GifRange& range) = 0;

    // Where to write a GIF, offering the last name chosen and keeping the new
    // one (".gif" added when it has no suffix); empty when cancelled.
    QString gifFileName(QString& last);
};

}  // namespace korvane
