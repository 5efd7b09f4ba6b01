#include "tools/MakeDatabase.h"
