#include "model/Display.h"
