#include "gui/app/TFRM_About.h"

#include "core/app/BuildVariant.h"
#include "core/app/Texts.h"
#include "core/app/Version.h"
#include "gui/app/BrandLogo.h"
#include "gui/app/ProgramVersion.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace lcdiag {
namespace {

constexpr TextId OkButton = 6030;
constexpr TextId AboutCaption = 257;
constexpr int Margin = 10;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QFont AboutFont(int pointSize, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Arial"), pointSize, bold ? QFont::Bold : QFont::Normal, italic);
    return font;
}

// Writes the picture from the top down; y is the top of the next line.
class AboutPainter {
public:
    AboutPainter(QImage& image, const AboutTexts& texts)
        : painter_(&image), width_(image.width()), texts_(texts) {}

    void Brand() {
        painter_.setFont(AboutFont(14, true));
        if (texts_.productLabel != LogoLabel) {
            Line(Q(texts_.productLabel), Margin);
        }
        margin_ = Margin + painter_.fontMetrics().horizontalAdvance(Q(texts_.deviceName));
        Line(Q(texts_.deviceName), Margin);
    }

    void Version() {
        const QString version = Q(VersionText(ProgramFileVersion()));
        if (!texts_.manufacturerVersion.empty()) {
            painter_.setFont(AboutFont(8, true, true));
            RightAligned(Q(texts_.manufacturerVersion));
        }
        const QString comments = Q(GetVersionString("Comments"));
        painter_.setFont(AboutFont(8));
        if (comments.isEmpty()) {
            RightAligned(version);
            return;
        }
        const int versionWidth = painter_.fontMetrics().horizontalAdvance(version + ' ');
        const int commentsWidth =
            QFontMetrics(AboutFont(8, false, true)).horizontalAdvance(comments);
        const int left = margin_ - versionWidth - commentsWidth;
        painter_.drawText(left, y_ + painter_.fontMetrics().ascent(), version);
        painter_.setFont(AboutFont(8, false, true));
        Line(comments, left + versionWidth);
    }

    void Logo(const QImage& logo) {
        y_ += Margin;
        painter_.drawImage((width_ - logo.width()) / 2, y_, logo);
        y_ += logo.height();
    }

    void Copyright() {
        y_ += Margin;
        painter_.setFont(AboutFont(8));
        for (const std::string& line : CopyrightLines(GetVersionString("LegalCopyright"))) {
            const QString text = Q(line);
            Line(text, (width_ - painter_.fontMetrics().horizontalAdvance(text)) / 2);
        }
    }

    int Bottom() const { return y_; }

private:
    void Line(const QString& text, int x) {
        painter_.drawText(x, y_ + painter_.fontMetrics().ascent(), text);
        y_ += painter_.fontMetrics().height();
    }

    void RightAligned(const QString& text) {
        Line(text, margin_ - painter_.fontMetrics().horizontalAdvance(text));
    }

    QPainter painter_;
    int width_;
    const AboutTexts& texts_;
    int y_ = Margin;
    int margin_ = Margin;
};

} // namespace

TFRM_About::TFRM_About(const Texts& language, QWidget* parent)
    : QDialog(parent), language_(language), Image1(new QLabel(this)),
      Button1(new QPushButton(this)) {
    setObjectName(QStringLiteral("FRM_About"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TFRM_About::SetUp(const AboutTexts& texts) {
    const QImage logo = BrandLogo();
    const int nameWidth = QFontMetrics(AboutFont(14, true)).horizontalAdvance(Q(texts.deviceName));
    QImage picture(std::max(logo.width(), nameWidth) + 2 * Margin, logo.height() + 150,
                   QImage::Format_RGB32);
    picture.fill(Qt::white);
    int bottom = 0;
    {
        AboutPainter painter(picture, texts);
        painter.Brand();
        painter.Version();
        painter.Logo(logo);
        painter.Copyright();
        bottom = painter.Bottom();
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->setGeometry(0, 0, picture.width(), picture.height());

    Button1->setText(Q(language_.GetText(OkButton)));
    Button1->resize(Button1->sizeHint());
    Button1->move((picture.width() - Button1->width()) / 2, bottom + Margin);
    setFixedSize(picture.width(),
                 std::max(picture.height(), Button1->geometry().bottom() + Margin));
    setWindowTitle(Q(language_.GetTextStr(AboutCaption, texts.windowTitle)));
}

} // namespace lcdiag
