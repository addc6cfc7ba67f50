#pragma once
#include "tests/fakes/FakePlatform.h"  // with the other fakes
