// The window tests need a widget application before the first test, whatever order they run in.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class TWidgetEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (!QCoreApplication::instance()) App_ = std::make_unique<QApplication>(Argc_, Argv_);
    }

private:
    int Argc_ = 1;
    char Name_[16] = "pigmentaria";
    char* Argv_[2] = {Name_, nullptr};
    std::unique_ptr<QApplication> App_;

public:
    // Gone before the program's exit handlers run, which the toolkit's own clean-up needs, and
    // after the last test's windows.
    void TearDown() override { App_.reset(); }
};

const auto* const Environment = ::testing::AddGlobalTestEnvironment(new TWidgetEnvironment);

} // namespace
