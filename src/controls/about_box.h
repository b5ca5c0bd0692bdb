#ifndef GLYPHWERK_CONTROLS_ABOUT_BOX_H
#define GLYPHWERK_CONTROLS_ABOUT_BOX_H

// Help > About Glyphwerk: the program's name and version, the mail and web
// links, and the Readme button.

#include <QDialog>

class CLinkLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);

    CLinkLabel *webLink() const { return m_pWebLink; }
    CLinkLabel *mailLink() const { return m_pMailLink; }

    // The read-me to open: "readme.txt" in `programDir`, else in the installed
    // documentation folder (../share/doc/glyphwerk beside the program's folder);
    // empty when neither exists.
    static QString readmePath(const QString &programDir);

private:
    void OnReadme();

    CLinkLabel *m_pWebLink = nullptr;
    CLinkLabel *m_pMailLink = nullptr;
};

#endif
