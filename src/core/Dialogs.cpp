#include "core/Dialogs.h"
