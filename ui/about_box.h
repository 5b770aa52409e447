// The about box: the product, its version and its copyright.
#pragma once

#include "dialog.h"
#include "message_table.h"
#include "picture.h"

class CAboutBox : public framework::CDialog {
  public:
    CAboutBox();

  protected:
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The icon at the window's DPI.
    void FitToDpi(UINT dpi) override;

  private:
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam, bool& handled);

    static const framework::MessageTableEntry<CAboutBox> kMessageTable[];

    framework::PictureIcon m_icon;
};
