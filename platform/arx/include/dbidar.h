#pragma once
#include "dbid.h"
