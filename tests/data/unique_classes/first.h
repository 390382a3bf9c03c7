// Fixture of the duplicate class check: with second.cc, exactly two names are defined twice in
// one namespace (lib::TTwice and lib::inner::EColour).
#pragma once
namespace lib {
class TTwice {
    int A;
};
class TForward;
template <class T> struct THolder { T Value; };
template <> struct THolder<int> { int Value; };
namespace inner {
enum class EColour { Red };
}
namespace {
struct THidden {};
} // namespace
} // namespace lib
namespace other {
struct TOnce {};
} // namespace other
