#include "script/portable_trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace qn {
namespace {

uint64_t bitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Within an ulp of the long double result, over the angles the game uses and many others.
TEST(PortableTrig, WithinAnUlpOfTheTrueValue) {
  auto check = [](double x) {
    const long double sine = std::sin(static_cast<long double>(x)), cosine = std::cos(static_cast<long double>(x));
    EXPECT_LE(std::fabs(static_cast<long double>(portableSin(x)) - sine),
              std::nextafter(std::fabs(static_cast<double>(sine)), 2.0) - std::fabs(static_cast<double>(sine)))
        << x;
    EXPECT_LE(std::fabs(static_cast<long double>(portableCos(x)) - cosine),
              std::nextafter(std::fabs(static_cast<double>(cosine)), 2.0) - std::fabs(static_cast<double>(cosine)))
        << x;
  };
  for (int degrees = -720; degrees <= 720; ++degrees) check(degrees * (3.14159265358979 / 180.0));
  for (int i = -50000; i <= 50000; ++i) check(i * 2.718281828e-4);
  for (double x : {1e3, 12345.678, 1e6, 1.6e6}) check(x);
}

TEST(PortableTrig, SignsOfZeroAndValuesOutsideTheReals) {
  EXPECT_EQ(bitsOf(portableSin(-0.0)), bitsOf(-0.0));
  EXPECT_EQ(portableSin(0.0), 0.0);
  EXPECT_EQ(portableCos(-0.0), 1.0);
  EXPECT_TRUE(std::isnan(portableSin(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(portableCos(std::numeric_limits<double>::quiet_NaN())));
  for (double huge : {1e10, -3e15, 1e300}) {  // brought into range through fmod: finite, bounded
    EXPECT_LE(std::fabs(portableSin(huge)), 1.0);
    EXPECT_LE(std::fabs(portableCos(huge)), 1.0);
  }
}

// The same bits wherever the program runs: these are the bits of the C library the browser
// edition has (musl's, from FreeBSD's), and a compiler that fused or reordered the arithmetic
// (Clang with -ffp-contract=on on a processor with FMA, say) would give others.
TEST(PortableTrig, TheSameBitsEverywhere) {
  uint64_t digest = 1469598103934665603ull;
  for (int i = -20000; i <= 20000; ++i) {
    const double x = i * 0.0123456789;
    for (double value : {portableSin(x), portableCos(x)}) digest = (digest ^ bitsOf(value)) * 1099511628211ull;
  }
  EXPECT_EQ(digest, 0xf36964d5cdeaf0e3ull);
}

}  // namespace
}  // namespace qn
