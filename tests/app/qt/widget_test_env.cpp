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
    // The application outlives every test and the toolkit's own exit handlers: it is kept, not
    // deleted after them.
    ~TWidgetEnvironment() override { Kept = App_.release(); }
    static inline QApplication* Kept = nullptr;
};

const auto* const Environment = ::testing::AddGlobalTestEnvironment(new TWidgetEnvironment);

} // namespace
