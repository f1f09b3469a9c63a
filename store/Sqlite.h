// The local engine: a database file of SQLite's, opened through the engine seam.
#pragma once

#include "store/Engine.h"
