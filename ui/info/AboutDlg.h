#pragma once

#include <string>

#include "controls/DialogBase.h"

// The small about box behind the window menu's about entry.
class CAboutDlg : public CDialogBase {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    std::string m_strVersion;
};
