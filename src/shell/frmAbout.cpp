#include "frmAbout.h"

#include "Ui.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kWindowTitle);
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 18, 18, 18);
    outer->setSpacing(12);

    auto* shape1 = new QFrame(this);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setFrameShape(QFrame::Box);
    shape1->setLineWidth(2);
    auto* head = new QVBoxLayout(shape1);
    head->setContentsMargins(16, 10, 16, 10);
    auto* heading = label(shape1, "Label1", QStringLiteral("Informações sôbre o Quorvanta"));
    heading->setFont(QFont(QStringLiteral("Arial"), 16, QFont::Bold));
    heading->setAlignment(Qt::AlignCenter);
    head->addWidget(heading);
    outer->addWidget(shape1);

    auto* shape2 = new QFrame(this);
    shape2->setObjectName(QStringLiteral("Shape2"));
    shape2->setFrameShape(QFrame::Box);
    auto* body = new QVBoxLayout(shape2);
    body->setContentsMargins(20, 14, 20, 14);
    body->setSpacing(8);

    auto* title = label(shape2, "lblTitle", QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    title->setFont(QFont(QStringLiteral("Arial"), 13, QFont::Bold));
    body->addWidget(title);
    auto* version = label(shape2, "lblVersion", QStringLiteral("Versão 2.0.1 - 30/09/2013"));
    body->addWidget(version);

    auto* line = new QFrame(shape2);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    body->addWidget(line);

    auto* description = label(shape2, "lblDescription",
                              QStringLiteral("Pesquisa dos processos de marcas publicados na Revista da "
                                             "Propriedade Industrial (RPI) do INPI: por marca, titular, "
                                             "procurador, CNPJ/CPF, revista, vigência e número do processo."));
    description->setWordWrap(true);
    body->addWidget(description);
    auto* notice = label(shape2, "Label2",
                         QStringLiteral("Programa de uso exclusivo deste escritório. "
                                        "Cópia ou distribuição não autorizadas."));
    notice->setWordWrap(true);
    body->addWidget(notice);
    outer->addWidget(shape2);

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setMinimumWidth(100);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    row->addWidget(ok);
    outer->addLayout(row);

    setFixedWidth(460);
}

void frmAbout::cmdOK_Click() { accept(); }
