// SPDX-License-Identifier: GPL-3.0-or-later
// The models of the Variables and Call Stack panels, over a copy of the
// snapshot taken at a pause: nothing here points into the interpreter.
#pragma once

#include <QAbstractItemModel>
#include <vector>

#include "pause_host.h"

namespace korvane {

// Rows: the calls, innermost first; columns: function, called from, depth.
class CallStackModel : public QAbstractItemModel {
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    void setSnapshot(const PauseSnapshot& at);
    void clear() { setSnapshot({}); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    PauseSnapshot at_;
};

// Two branches, the globals and the chosen call's parameters and locals;
// columns: name, value. A value that differs from the same variable's at
// the previous pause is bold and marked with a star.
class VariablesModel : public QAbstractItemModel {
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    // Keeps the snapshot before as the one to compare with; shows the
    // innermost call.
    void setSnapshot(const PauseSnapshot& at);
    // Empty, with nothing to compare the next pause with.
    void clear();
    // Shows the call at this row of the call stack (0: the innermost).
    void showCall(int call);
    int shownCall() const { return call_; }
    // For tests and the panel: the text of a value and whether it changed.
    bool changed(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<NamedValue>& values(int branch) const;
    const std::vector<NamedValue>* valuesBefore(int branch) const;

    PauseSnapshot at_;
    PauseSnapshot before_;
    bool hasBefore_ = false;
    int call_ = 0;
};

}  // namespace korvane
