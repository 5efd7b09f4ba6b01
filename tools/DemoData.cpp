#include "tools/DemoData.h"
