#pragma once
#define IDD_STANDIN_LOGIN 100
