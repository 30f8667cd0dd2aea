#include "tfrm_about.h"

#include "about_picture.h"
#include "program_version.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kButtonStrip = 42; // the strip below the group that holds "ОК"

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    // A fixed frame with a caption and no minimise or maximise: the window managers read
    // a frame that names no function at all as "every function", so the close box is named.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8, QFont::Bold));
    setFixedSize(408, 418);

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(4, 3, 399, 369);

    auto *picture = new QLabel(group);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(13, 7, 372, 222);
    picture->setPixmap(aboutPicture(picture->size()));

    auto *title = new QLabel(zarnik::programTitle(), group);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = font();
    titleFont.setPointSize(14);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: #000080"));
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(13, 236, 372, 28);

    auto *purpose = new QLabel(
        QStringLiteral("Учет и печать документов продаж для индивидуальных предпринимателей и "
                       "малых предприятий Республики Казахстан: счета на оплату, "
                       "счета-фактуры, накладные, акты выполненных работ, приходные кассовые "
                       "ордера, доверенности и платежные поручения, с суммами прописью, по "
                       "реквизитам компании, справочникам клиентов, товаров и услуг и кодов "
                       "назначения платежей."),
        group);
    purpose->setObjectName(QStringLiteral("lblPurpose"));
    purpose->setWordWrap(true);
    purpose->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    purpose->setGeometry(13, 268, 372, 94);

    m_ok = new QPushButton(QStringLiteral("ОК"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_ok->setGeometry(167, 384, 75, 25);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TfrmAbout::BitBtn1Click);
}

void TfrmAbout::BitBtn1Click()
{
    accept();
}

void TfrmAbout::turnIntoSplash()
{
    m_ok->hide();
    setWindowTitle(QString());
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(width(), height() - kButtonStrip);
    setCursor(Qt::BusyCursor);
    const QRect desktop = screen()->availableGeometry();
    move(desktop.center() - rect().center());
}
