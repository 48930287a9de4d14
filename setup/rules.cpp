#include "setup/rules.h"
