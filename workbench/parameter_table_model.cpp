#include "workbench/parameter_table_model.h"

#include <QBrush>
#include <QPalette>
#include <algorithm>
#include <exception>

#include "app/decimal_text.h"
#include "models/model_catalogue.h"

namespace quorvane::workbench {
namespace {

using models::Parameter;

// Enough digits that a value typed back is the one shown.
constexpr int kShownDigits = 12;

bool SameShape(const models::Model& a, const models::Model& b) {
  return a.equation == b.equation && a.order == b.order && a.thermal == b.thermal;
}

}  // namespace

ParameterTableModel::ParameterTableModel(FitSetup& setup, const FitSession& session,
                                         QObject* parent)
    : QAbstractTableModel(parent), setup_(setup), session_(session) {
  Reset();
}

void ParameterTableModel::Reset() {
  beginResetModel();
  const fit::FitData data = session_.IncludedData();
  start_ = StartFor(setup_, data);
  rows_ = ListedParameters(start_);
  refined_ = EffectiveRefined(setup_, data);
  endResetModel();
}

int ParameterTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ParameterTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

bool ParameterTableModel::Implied(Parameter parameter) const {
  return models::RoleOf(start_, parameter) == models::Role::Implied;
}

bool ParameterTableModel::Refined(Parameter parameter) const {
  return std::find(refined_.begin(), refined_.end(), parameter) != refined_.end();
}

int ParameterTableModel::FittedIndex(Parameter parameter) const {
  if (!session_.HasResult()) return -1;
  const fit::FitResult& result = session_.Result();
  if (!result.converged || !SameShape(result.model, start_)) return -1;
  const auto found = std::find(result.refined.begin(), result.refined.end(), parameter);
  return found == result.refined.end() ? -1 : static_cast<int>(found - result.refined.begin());
}

QVariant ParameterTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Parameter parameter = ParameterAt(index.row());
  if (role == Qt::ForegroundRole && Implied(parameter)) {
    return QPalette().brush(QPalette::Disabled, QPalette::Text);
  }
  if (role == Qt::ToolTipRole) return QString::fromUtf8(models::Info(parameter).meaning);
  if (role == Qt::CheckStateRole && index.column() == Refine && !Implied(parameter) &&
      parameter != Parameter::Tref) {
    return Refined(parameter) ? Qt::Checked : Qt::Unchecked;
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const int fitted = FittedIndex(parameter);
  const auto& result = session_.HasResult() ? session_.Result() : fit::FitResult{};
  switch (index.column()) {
    case Name:
      return QString::fromUtf8(models::Info(parameter).symbol);
    case Value:
      return QString::number(Shown(parameter), 'g', kShownDigits);
    case EsdScaled:
      return fitted < 0 ? QString() : QString::number(result.esdScaled[fitted], 'g', 4);
    case Esd:
      return fitted < 0 ? QString() : QString::number(result.esd[fitted], 'g', 4);
    default:
      return {};
  }
}

// The fit's value (implied ones at the fitted K0 and K'0), unless the user has
// typed a start since.
double ParameterTableModel::Shown(Parameter parameter) const {
  const bool useFit = session_.HasResult() && session_.Result().converged &&
                      SameShape(session_.Result().model, start_) &&
                      editedSinceFit_.count(parameter) == 0;
  return useFit ? session_.Result().model[parameter] : start_[parameter];
}

QVariant ParameterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  static const char* const kTitles[] = {"Parameter", "Value", "Refine", "esd", "esd scaled"};
  return section >= 0 && section < ColumnCount ? tr(kTitles[section]) : QVariant();
}

Qt::ItemFlags ParameterTableModel::flags(const QModelIndex& index) const {
  const Parameter parameter = ParameterAt(index.row());
  if (Implied(parameter)) return Qt::ItemIsSelectable;
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.column() == Value) flags |= Qt::ItemIsEditable;
  if (index.column() == Refine && parameter != Parameter::Tref) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool ParameterTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  const Parameter parameter = ParameterAt(index.row());
  if (role == Qt::CheckStateRole && index.column() == Refine) {
    SetRefined(parameter, value.toInt() == Qt::Checked);
    return true;
  }
  if (role == Qt::EditRole && index.column() == Value) {
    return SetValue(parameter, value.toString().trimmed());
  }
  return false;
}

bool ParameterTableModel::SetValue(Parameter parameter, const QString& text) {
  const FitSetup before = setup_;
  setup_.typed[parameter] = text.toStdString();
  try {
    RequestFor(setup_);
  } catch (const std::exception& error) {
    setup_ = before;
    emit Refused(QString::fromStdString(error.what()));
    return false;
  }
  editedSinceFit_.insert(parameter);
  Reset();
  emit SetupEdited();
  return true;
}

void ParameterTableModel::ShowFit() {
  editedSinceFit_.clear();
  Reset();
}

// A parameter no longer refined is held at the value shown, the fitted one
// after a fit, not at a start typed or defaulted before it.
void ParameterTableModel::SetRefined(Parameter parameter, bool refined) {
  if (!refined) {
    std::string text;
    app::AppendShortest(text, Shown(parameter));
    setup_.typed[parameter] = text;
  }
  std::vector<Parameter> list = refined_;
  std::erase(list, parameter);
  if (refined) list.push_back(parameter);
  // The catalogue's order, whatever order they were ticked in.
  std::sort(list.begin(), list.end());
  setup_.refined = list;
  Reset();
  emit SetupEdited();
}

}  // namespace quorvane::workbench
