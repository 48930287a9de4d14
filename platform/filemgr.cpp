#include "platform/filemgr.h"
