// The about box: the product, its version and its copyright.
#pragma once

#include "dialog.h"

class CAboutBox : public framework::CDialog {
  public:
    CAboutBox();
};
