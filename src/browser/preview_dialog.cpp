#include "preview_dialog.h"

#include "preview_layout.h"
#include "prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kDefaultText = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");
constexpr int kDefaultZoom = 2;

} // namespace

CPreviewDlg::CPreviewDlg(CFontDocument *document, QWidget *parent) : QDialog(parent), m_pDocument(document) {
    setModal(false);
    setWindowTitle(QStringLiteral("Preview"));
    m_pText = new QLineEdit(kDefaultText, this);
    m_pZoom = new QSpinBox(this);
    m_pZoom->setRange(CPreviewLayout::kMinZoom, CPreviewLayout::kMaxZoom);
    m_pZoom->setValue(kDefaultZoom);
    m_pZoom->setSuffix(QStringLiteral("x"));
    auto *zoomLabel = new QLabel(QStringLiteral("&Zoom:"), this);
    zoomLabel->setBuddy(m_pZoom);
    m_pSave = new QPushButton(QStringLiteral("&Save PNG..."), this);
    m_pSave->setAutoDefault(false); // Enter in the text does not open the file prompt

    m_pCanvas = new QLabel(this);
    m_pCanvas->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pCanvas->setMargin(8);
    auto *scroller = new QScrollArea(this);
    scroller->setWidget(m_pCanvas);
    scroller->setWidgetResizable(true);
    scroller->setBackgroundRole(QPalette::Base);

    auto *controls = new QHBoxLayout;
    controls->addWidget(m_pText, 1);
    controls->addWidget(zoomLabel);
    controls->addWidget(m_pZoom);
    controls->addWidget(m_pSave);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(scroller, 1);
    resize(720, 200);

    connect(m_pText, &QLineEdit::textChanged, this, &CPreviewDlg::Refresh);
    connect(m_pZoom, &QSpinBox::valueChanged, this, &CPreviewDlg::Refresh);
    connect(m_pSave, &QPushButton::clicked, this, &CPreviewDlg::OnSave);
    Clear();
}

void CPreviewDlg::Refresh() {
    const bdf_font *font = m_pDocument->Font();
    if (!font) {
        Clear();
        return;
    }
    const QImage image = CPreviewLayout(font, m_pText->text()).Render(m_pZoom->value());
    Display(image, image.isNull() ? QStringLiteral("The line is too large to show at this zoom.") : QString());
}

void CPreviewDlg::Clear() { Display(QImage(), QStringLiteral("No font is open.")); }

void CPreviewDlg::Display(const QImage &image, const QString &note) {
    m_image = image;
    m_pSave->setEnabled(!image.isNull());
    if (image.isNull())
        m_pCanvas->setText(note);
    else
        m_pCanvas->setPixmap(QPixmap::fromImage(image));
}

void CPreviewDlg::OnSave() {
    if (m_image.isNull())
        return;
    QString path = prompts::current().saveFileName(this, QString(), QStringLiteral("PNG Image (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    // Written beside the target and renamed over it: a failed save leaves an old file as it was.
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    QString error;
    if (!file.open(QIODevice::WriteOnly))
        error = file.errorString();
    else if (!writer.write(m_image))
        error = writer.errorString();
    else if (!file.commit())
        error = file.errorString();
    if (!error.isEmpty())
        prompts::messageBox(this,
                            QStringLiteral("The image %1 could not be saved:\n%2.")
                                .arg(QDir::toNativeSeparators(path), error),
                            prompts::MB_ICONERROR_OK);
}
