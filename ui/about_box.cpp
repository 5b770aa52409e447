#include "about_box.h"

#include "resource.h"

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX) {}
