#include "workbench/point_table_model.h"

#include <cmath>

namespace quorvane::workbench {
namespace {

// Enough digits that a value read back is the one stored.
constexpr int kShownDigits = 10;

double* Field(fit::Observation& point, int column) {
  switch (column) {
    case PointTableModel::P:
      return &point.P;
    case PointTableModel::V:
      return &point.V;
    case PointTableModel::T:
      return &point.T;
    case PointTableModel::SigP:
      return &point.sigP;
    case PointTableModel::SigV:
      return &point.sigV;
    case PointTableModel::SigT:
      return &point.sigT;
    default:
      return nullptr;
  }
}

bool IsSigma(int column) {
  return column == PointTableModel::SigP || column == PointTableModel::SigV ||
         column == PointTableModel::SigT;
}

// The reader's own limits: a sigma is positive or absent, a volume positive.
bool Acceptable(int column, double value, bool blank) {
  if (IsSigma(column)) return blank || value > 0.0;
  if (blank || !std::isfinite(value)) return false;
  return column != PointTableModel::V || value > 0.0;
}

}  // namespace

PointTableModel::PointTableModel(FitSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {}

int PointTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(session_.Size());
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  if (role == Qt::CheckStateRole && index.column() == P) {
    return session_.Included(row) ? Qt::Checked : Qt::Unchecked;
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (index.column() == Residual) {
    const auto residual = session_.ResidualOf(row);
    return residual ? QString::number(residual->dP, 'g', kShownDigits) : QString();
  }
  fit::Observation point = session_.Point(row);
  const double value = *Field(point, index.column());
  if (IsSigma(index.column()) && value == 0.0) return QString();
  return QString::number(value, 'g', kShownDigits);
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  static const char* const kTitles[] = {"P", "V", "T", "σP", "σV", "σT", "P obs − calc"};
  if (section < 0 || section >= ColumnCount) return {};
  // A cell edge is fitted as its cube, which stands in V's columns.
  const QString cube = QString::fromStdString(session_.Data().axis) + "³";
  if (section == V && !session_.Data().axis.empty()) return cube;
  if (section == SigV && !session_.Data().axis.empty()) return tr("σ(%1)").arg(cube);
  return tr(kTitles[section]);
}

Qt::ItemFlags PointTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.column() == P) flags |= Qt::ItemIsUserCheckable;
  if (index.column() != Residual) flags |= Qt::ItemIsEditable;
  return flags;
}

bool PointTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  const auto row = static_cast<std::size_t>(index.row());
  if (role == Qt::CheckStateRole && index.column() == P) {
    session_.SetIncluded(row, value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {role});
    emit PointsEdited();
    return true;
  }
  if (role != Qt::EditRole || index.column() == Residual) return false;
  const QString text = value.toString().trimmed();
  bool ok = false;
  const double number = text.isEmpty() ? 0.0 : text.toDouble(&ok);
  if (!text.isEmpty() && !ok) return false;
  if (!Acceptable(index.column(), number, text.isEmpty())) return false;
  fit::Observation point = session_.Point(row);
  *Field(point, index.column()) = number;
  session_.SetPoint(row, point);
  emit dataChanged(index, index, {role});
  emit PointsEdited();
  return true;
}

void PointTableModel::Reset() {
  beginResetModel();
  endResetModel();
}

}  // namespace quorvane::workbench
