#include "platform/value/decimal.h"
