#ifndef GLYPHWERK_APP_LOAD_REPORT_DIALOG_H
#define GLYPHWERK_APP_LOAD_REPORT_DIALOG_H

// The load report window: modeless, beside the main window, showing what the
// reader did while opening the font as read-only text that can be selected
// and copied, one message a line. Copy puts the whole text on the clipboard.

#include "load_report.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

class CLoadReportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLoadReportDlg(QWidget *parent);

    void SetReport(const LoadReport &report);

    QLabel *Heading() const { return m_pHeading; }
    QPlainTextEdit *Messages() const { return m_pMessages; }

private:
    QLabel *m_pHeading = nullptr;
    QPlainTextEdit *m_pMessages = nullptr;
};

#endif
