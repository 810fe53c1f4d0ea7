// Measures how long one keystroke takes on a large input: from the key
// being sent until the output box shows the new conversion.
#pragma once

#include <cstddef>

#include "harness.h"

// `characters`: the size of the input box's text (100,000 for the goal).
int RunKeystrokeBench(size_t characters);
