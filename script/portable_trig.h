// Sine and cosine that give the same bits on every compiler, processor and C library. The
// system's own do not: glibc picks a version by processor (one using fused multiply-add where the
// processor has it) and other C libraries use other methods, so the last bit of a result, and
// with it a ball's path, would depend on the machine. The game's rules and the sprites' rotation
// use these.
#pragma once

namespace qn {

// Accurate to within an ulp. Arguments beyond 2^20 x pi/2 are first brought into range through
// fmod by 2 pi, exact but for the error of 2 pi itself.
double portableSin(double radians);
double portableCos(double radians);

}  // namespace qn
