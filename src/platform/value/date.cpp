#include "platform/value/value.h"
