#include "engine/Engine.h"
#include <gtest/gtest.h>
