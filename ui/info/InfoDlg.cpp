#include "ui/info/InfoDlg.h"

#include <QResizeEvent>

#include "controls/QtText.h"
#include "controls/ResourceImages.h"
#include "controls/SortListCtrl.h"
#include "core/DataLocation.h"
#include "resources/InfoDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "ui/info/InfoTexts.h"
#include "util/GbkText.h"

CInfoDlg::CInfoDlg(QWidget* parent)
    : CDialogBase(res::kDialogInfo, parent), m_listText(Control<CSortListCtrl>(info_ids::kList)) {
    setWindowIcon(LoadIconResource(res::kIconMain));
}

bool CInfoDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    setWindowTitle(qtext::FromUtf8(res::kMainTitle));

    m_listText->SetHighlightMode(2);
    m_listText->AddColumnsFromSpec(GBK("帮助"), 1);
    m_listText->SetStripes(false);
    m_listText->SetRowDetailsOnDblClk(false);
    m_listText->SetDblClkHandler(nullptr);

    // One fill: the rows reach the view in one reset.
    m_listText->DeleteAllRows();
    for (const std::string& row :
         info_texts::RowsForMode(m_strMode, GetDataLocation().ReadmeFile())) {
        m_listText->InsertRow(row);
    }
    m_listText->AutoSizeColumns(-1);
    return true;
}

void CInfoDlg::resizeEvent(QResizeEvent* event) {
    CDialogBase::resizeEvent(event);
    if (m_listText != nullptr) {
        const QSize client = event->size();
        m_listText->setGeometry(kListMargin, kListMargin, client.width() - 2 * kListMargin,
                                client.height() - 2 * kListMargin);
        m_listText->update();
    }
}
