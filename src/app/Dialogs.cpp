#include "app/Dialogs.h"
