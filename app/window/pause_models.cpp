// SPDX-License-Identifier: GPL-3.0-or-later
#include "pause_models.h"

#include <QFont>

namespace korvane {

namespace {

constexpr quintptr kBranch = 0;  // internal id of the two branch rows; a value row holds branch + 1

const NamedValue* find(const std::vector<NamedValue>* values, const std::string& name)
{
    if (values == nullptr)
        return nullptr;
    for (const NamedValue& v : *values) {
        if (v.name == name)
            return &v;
    }
    return nullptr;
}

}  // namespace

void CallStackModel::setSnapshot(const PauseSnapshot& at)
{
    beginResetModel();
    at_ = at;
    endResetModel();
}

QModelIndex CallStackModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex CallStackModel::parent(const QModelIndex&) const
{
    return {};
}

int CallStackModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(at_.calls.size());
}

int CallStackModel::columnCount(const QModelIndex&) const
{
    return 3;
}

QVariant CallStackModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const CallSnapshot& call = at_.calls[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return QString::fromStdString(call.function);
    case 1:
        return call.called_from < 0 ? QString() : QString::number(call.called_from);
    default:
        return at_.depth - index.row();
    }
}

QVariant CallStackModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[] = {"Function", "Called from line", "Depth"};
    return tr(titles[section]);
}

void VariablesModel::setSnapshot(const PauseSnapshot& at)
{
    beginResetModel();
    before_ = std::move(at_);
    hasBefore_ = !before_.calls.empty();
    at_ = at;
    call_ = 0;
    endResetModel();
}

void VariablesModel::clear()
{
    beginResetModel();
    at_ = {};
    before_ = {};
    hasBefore_ = false;
    call_ = 0;
    endResetModel();
}

void VariablesModel::showCall(int call)
{
    if (call < 0 || call >= static_cast<int>(at_.calls.size()))
        return;
    beginResetModel();
    call_ = call;
    endResetModel();
}

const std::vector<NamedValue>& VariablesModel::values(int branch) const
{
    static const std::vector<NamedValue> none;
    if (branch == 0)
        return at_.globals;
    return at_.calls.empty() ? none : at_.calls[static_cast<size_t>(call_)].locals;
}

// The same call at the previous pause: as far from main, with the same function.
const std::vector<NamedValue>* VariablesModel::valuesBefore(int branch) const
{
    if (!hasBefore_)
        return nullptr;
    if (branch == 0)
        return &before_.globals;
    const size_t fromMain = at_.calls.size() - 1 - static_cast<size_t>(call_);
    if (fromMain >= before_.calls.size())
        return nullptr;
    const CallSnapshot& then = before_.calls[before_.calls.size() - 1 - fromMain];
    if (then.function != at_.calls[static_cast<size_t>(call_)].function)
        return nullptr;
    return &then.locals;
}

bool VariablesModel::changed(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() == kBranch)
        return false;
    const int branch = static_cast<int>(index.internalId()) - 1;
    const NamedValue& now = values(branch)[static_cast<size_t>(index.row())];
    const NamedValue* then = find(valuesBefore(branch), now.name);
    return then != nullptr && then->value != now.value;
}

QModelIndex VariablesModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || row >= rowCount(parent) || column < 0 || column >= columnCount())
        return {};
    if (!parent.isValid())
        return createIndex(row, column, kBranch);
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex VariablesModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == kBranch)
        return {};
    return createIndex(static_cast<int>(child.internalId()) - 1, 0, kBranch);
}

int VariablesModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return at_.calls.empty() ? 0 : 2;
    if (parent.internalId() != kBranch || parent.column() != 0)
        return 0;
    return static_cast<int>(values(parent.row()).size());
}

int VariablesModel::columnCount(const QModelIndex&) const
{
    return 2;
}

QVariant VariablesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() == kBranch) {
        if (role != Qt::DisplayRole || index.column() != 0)
            return {};
        if (index.row() == 0)
            return tr("Globals");
        const CallSnapshot& call = at_.calls[static_cast<size_t>(call_)];
        return tr("Locals of %1 (depth %2)")
            .arg(QString::fromStdString(call.function))
            .arg(at_.depth - call_);
    }
    const NamedValue& v =
        values(static_cast<int>(index.internalId()) - 1)[static_cast<size_t>(index.row())];
    const bool isChanged = changed(index);
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return QString::fromStdString(v.name);
        return isChanged ? QStringLiteral("%1 *").arg(v.value) : QString::number(v.value);
    }
    if (role == Qt::FontRole && isChanged) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::ToolTipRole && isChanged)
        return tr("Changed since the previous pause");
    return {};
}

QVariant VariablesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? tr("Name") : tr("Value");
}

}  // namespace korvane
