// The host's UI library.
#pragma once

void InitAcUiDLL();
