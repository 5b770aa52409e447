#include "about_box.h"

#include "dpi.h"
#include "resource.h"
#include "win_app.h"

const framework::MessageTableEntry<CAboutBox> CAboutBox::kMessageTable[] = {
    {WM_DESTROY, framework::kAnyCode, framework::kAnyId, &CAboutBox::OnDestroy},
};

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX) {}

bool CAboutBox::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return framework::DispatchMessageTable(*this, kMessageTable, message, wParam, lParam, result);
}

BOOL CAboutBox::OnInitDialog() {
    CDialog::OnInitDialog();
    FitToDpi(framework::DpiForWindow(m_hWnd));
    return TRUE;
}

void CAboutBox::FitToDpi(UINT dpi) {
    m_icon.Show(framework::FindPicture(m_hWnd, IMAGE_ICON),
                framework::MakeIcon(framework::ResourceInstance(), IDR_MAINFRAME,
                                    framework::MetricForDpi(SM_CXICON, dpi),
                                    framework::MetricForDpi(SM_CYICON, dpi)));
}

LRESULT CAboutBox::OnDestroy(WPARAM wParam, LPARAM lParam, bool&) {
    m_icon.GiveBack();
    return Default(WM_DESTROY, wParam, lParam);
}
