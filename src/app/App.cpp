#include "App.h"
