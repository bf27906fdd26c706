// Marks a per-pixel row loop for several instruction sets: on x86-64 the loader picks a build
// for the running processor (AVX2 where present), elsewhere it is a plain function. Sanitizer
// builds keep one version.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define QN_ROW_LOOP __attribute__((target_clones("default", "arch=x86-64-v3")))
#else
#define QN_ROW_LOOP
#endif
