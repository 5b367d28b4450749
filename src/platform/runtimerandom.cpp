#include "platform/runtimerandom.h"

CRuntimeRandom& ProgramRandom() {
    static CRuntimeRandom random;
    return random;
}
