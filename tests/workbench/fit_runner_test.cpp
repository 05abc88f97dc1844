#include "workbench/fit_runner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "workbench/fit_setup.h"

namespace quorvane::workbench {
namespace {

// Enough points that the fit outlasts the handling of any event posted
// beside it, if the fit does not hold the thread that handles them.
constexpr int kManyPoints = 100000;

fit::FitData ManyPoints() {
  fit::FitData data;
  data.source = "many";
  for (int i = 0; i < kManyPoints; ++i) {
    const double V = 100.0 * (1.0 - 0.2 * i / kManyPoints);
    const double x = std::pow(100.0 / V, 2.0 / 3.0);
    const double P = 1.5 * 160.0 * (std::pow(x, 3.5) - std::pow(x, 2.5));
    data.points.push_back({P + 0.01 * std::sin(0.7 * i), V, 298.0, 0.01, 0.0, 0.0});
  }
  return data;
}

// The window stays responsive during a long fit: an event posted once the
// fit has started is handled before its result arrives, which a fit on the
// window's own thread would deliver first.
TEST(FitRunner, FitsOffTheThreadThatHandlesEvents) {
  FitRunner runner;
  bool resultArrived = false;
  bool eventHandled = false;
  bool handledBeforeResult = false;
  QEventLoop loop;
  QObject::connect(&runner, &FitRunner::Finished, &loop, [&](const FitOutcome& outcome) {
    resultArrived = true;
    EXPECT_TRUE(outcome.result && outcome.result->converged) << outcome.error;
    // The report shown stops short of a line per point, and says where the rest is.
    EXPECT_LT(std::count(outcome.report.begin(), outcome.report.end(), '\n'), kManyPoints / 2);
    EXPECT_NE(outcome.report.find("more lines: File > Export report"), std::string::npos);
    loop.quit();
  });

  runner.Start(ManyPoints(), std::vector<bool>(kManyPoints, true), RequestFor(FitSetup{}));
  QTimer::singleShot(0, &loop, [&] {
    eventHandled = true;
    handledBeforeResult = !resultArrived && runner.Running();
  });
  loop.exec();

  EXPECT_TRUE(resultArrived);
  EXPECT_TRUE(eventHandled);
  EXPECT_TRUE(handledBeforeResult);
}

// Cancel cannot stop the fit, but its result must not reach the window: of a
// cancelled fit and the one started after it, only the second is shown.
TEST(FitRunner, DropsTheResultOfACancelledFit) {
  FitRunner runner;
  std::vector<std::size_t> shown;
  QObject::connect(&runner, &FitRunner::Finished,
                   [&](const FitOutcome& outcome) { shown.push_back(outcome.data.points.size()); });
  fit::FitData cancelled = ManyPoints();
  cancelled.points.resize(60);
  fit::FitData kept = ManyPoints();
  kept.points.resize(40);

  runner.Start(cancelled, std::vector<bool>(60, true), RequestFor(FitSetup{}));
  runner.Cancel();
  EXPECT_FALSE(runner.Running());
  runner.Start(kept, std::vector<bool>(40, true), RequestFor(FitSetup{}));
  // Both fits are over, and their results delivered, before anything is counted.
  QThreadPool::globalInstance()->waitForDone();
  QCoreApplication::sendPostedEvents();

  EXPECT_EQ(shown, std::vector<std::size_t>{40});
  EXPECT_FALSE(runner.Running());
}

}  // namespace
}  // namespace quorvane::workbench
