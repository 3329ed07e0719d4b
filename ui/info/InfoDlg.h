#pragma once

#include <string>

#include "controls/DialogBase.h"

class CSortListCtrl;

// The resizable information window: one list showing, line by line, the data configuration
// help, the about text or the development log read from readme.txt.
class CInfoDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kListMargin = 15;  // pixels between the list and the window's edges

    explicit CInfoDlg(QWidget* parent = nullptr);

    // "数据配置", "关于" or "readme.txt" (GBK), set before the run.
    void SetMode(const std::string& mode) { m_strMode = mode; }
    const std::string& Mode() const { return m_strMode; }

    CSortListCtrl* List() const { return m_listText; }

protected:
    bool OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CSortListCtrl* m_listText;
    std::string m_strMode;
};
