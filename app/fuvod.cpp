#include "fuvod.h"
