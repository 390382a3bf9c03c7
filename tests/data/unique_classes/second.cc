// See first.h.
#include "first.h"
#define TEXT "struct TOnce {"
namespace lib::inner {
enum class EColour : unsigned char { Green };
} // namespace lib::inner
namespace lib {
/* struct TOnce { */
struct TTwice final : public TForwardBase<1> {
    double B;
};
template <> struct THolder<double> { double Value; };
void F() {
    struct THidden {
        int Local;
    };
    const char* text = "class TForward {";
}
namespace {
struct THidden {};
} // namespace
struct TOnce {};
} // namespace lib
