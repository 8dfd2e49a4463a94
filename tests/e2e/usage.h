#pragma once
// A soak: a program worked for a long time without a pause, which must go on running and hold
// no more GDI and USER objects, kernel handles, windows or private memory at the end than after
// a short warm-up, all measured from outside.
#include <functional>
#include <string>

#include "tests/e2e/process.h"

namespace e2e {

// How many cycles a soak makes: `full` with VL_SOAK=full in the environment (scripts/test
// --soak), else the `shortened` count of the normal run.
int Cycles(int full, int shortened);

// Runs `cycle` (given its number, true when it went through) `cycles` times on `program`;
// measures the program after the first twentieth and at the end, prints both and fails on
// growth.
void Soak(const Program& program, const std::string& name, int cycles,
          const std::function<bool(int)>& cycle);

}  // namespace e2e
