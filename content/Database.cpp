#include "content/Database.h"
