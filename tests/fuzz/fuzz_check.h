// The fuzz targets' assertion: a failed check aborts, so libFuzzer keeps
// the input that broke it.
#ifndef MAILVIEW_TESTS_FUZZ_FUZZ_CHECK_H_
#define MAILVIEW_TESTS_FUZZ_FUZZ_CHECK_H_

#include <stdio.h>
#include <stdlib.h>

#define CHECK(cond)                                                   \
  do {                                                                \
    if (!(cond)) {                                                    \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
              #cond);                                                 \
      abort();                                                        \
    }                                                                 \
  } while (0)

#endif  // MAILVIEW_TESTS_FUZZ_FUZZ_CHECK_H_
