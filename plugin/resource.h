// Ids of the module's resources (Plovex.rc).
#pragma once

#define IDS_PROJNAME 100

#define IDD_PLOVEX_OPTIONS 200

#define IDC_RADIO_ASCII 200
#define IDC_RADIO_BINARY 201
#define IDC_SLIDER_RESOLUTION 1022
