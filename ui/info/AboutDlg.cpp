#include "ui/info/AboutDlg.h"

#include "resources/AboutDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "util/GbkText.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialogBase(res::kDialogAbout, parent) {
    BindText(about_ids::kVersion, &m_strVersion);
}

bool CAboutDlg::OnInitDialog() {
    // The product line shows the program's title, not the text stored with the layout.
    m_strVersion = gbk::FromUtf8(res::kMainTitle);
    WriteFields();
    return true;
}
