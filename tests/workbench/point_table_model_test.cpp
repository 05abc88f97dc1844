#include "workbench/point_table_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fit/eos_fit.h"
#include "workbench/fit_session.h"
#include "workbench/fit_setup.h"

namespace quorvane::workbench {
namespace {

// A 3rd-order Birch-Murnaghan isotherm, V0 = 100, K0 = 160, K'0 = 4.5, with a
// small deterministic scatter so that the fit has a chi^2 to scale by.
fit::FitData Isotherm(int count) {
  fit::FitData data;
  data.source = "isotherm";
  for (int i = 0; i < count; ++i) {
    const double V = 100.0 * (1.0 - 0.15 * i / count);
    const double x = std::pow(100.0 / V, 2.0 / 3.0);
    const double P =
        1.5 * 160.0 * (std::pow(x, 3.5) - std::pow(x, 2.5)) * (1.0 + 0.75 * 0.5 * (x - 1.0));
    data.points.push_back({P + 0.01 * std::sin(i), V, 298.0, 0.01, 0.0, 0.0});
  }
  return data;
}

int FittedDof(const FitSession& session) {
  return fit::FitEos(session.IncludedData(), RequestFor(FitSetup{})).dof;
}

TEST(PointTableModel, UncheckingAPointLeavesItOutOfTheFit) {
  FitSession session;
  session.SetData(Isotherm(12));
  PointTableModel model(session);
  const int all = FittedDof(session);

  ASSERT_TRUE(model.setData(model.index(4, PointTableModel::P), Qt::Unchecked, Qt::CheckStateRole));
  EXPECT_EQ(model.data(model.index(4, PointTableModel::P), Qt::CheckStateRole), Qt::Unchecked);
  EXPECT_EQ(FittedDof(session), all - 1);

  ASSERT_TRUE(model.setData(model.index(4, PointTableModel::P), Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(FittedDof(session), all);
}

// What the data reader refuses in a file, the table refuses when typed; the
// point keeps its value.
TEST(PointTableModel, RefusesWhatTheReaderRefuses) {
  struct Case {
    int column;
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {PointTableModel::V, "0", false},       {PointTableModel::V, "-3", false},
      {PointTableModel::V, "", false},        {PointTableModel::P, "1e400", false},
      {PointTableModel::P, "abc", false},     {PointTableModel::SigP, "0", false},
      {PointTableModel::SigV, "-0.1", false}, {PointTableModel::Residual, "1", false},
      {PointTableModel::P, "-2.5", true},     {PointTableModel::SigP, "", true},
      {PointTableModel::SigT, "2", true},     {PointTableModel::V, "95.5", true},
  };
  for (const Case& c : cases) {
    FitSession session;
    session.SetData(Isotherm(6));
    PointTableModel model(session);
    const QModelIndex index = model.index(2, c.column);
    const QVariant before = model.data(index, Qt::EditRole);
    EXPECT_EQ(model.setData(index, QString(c.text), Qt::EditRole), c.accepted)
        << "column " << c.column << " text \"" << c.text << '"';
    if (c.accepted) {
      EXPECT_EQ(model.data(index, Qt::EditRole).toString(), QString(c.text));
      EXPECT_TRUE(session.Stale());
    } else {
      EXPECT_EQ(model.data(index, Qt::EditRole), before) << "column " << c.column;
    }
  }
}

}  // namespace
}  // namespace quorvane::workbench
