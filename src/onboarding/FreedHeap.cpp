#include "onboarding/FreedHeap.h"

// Defines __GLIBC__ on the C library that has malloc_trim.
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace zentaris::tutorial {

namespace {
int givenBack = 0;
}

void giveFreedHeapBack() {
    ++givenBack;
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

int freedHeapGivenBackCount() { return givenBack; }

} // namespace zentaris::tutorial
