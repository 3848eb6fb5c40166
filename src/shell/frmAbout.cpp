#include "frmAbout.h"

#include "DialogFrame.h"
#include "Ui.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kWindowTitle);
    setModal(true);

    auto* outer = DialogColumn(this, 12);
    AddDialogHeading(this, outer, QStringLiteral("Informações sôbre o Quorvanta"), 16);

    auto* shape2 = new QFrame(this);
    shape2->setObjectName(QStringLiteral("Shape2"));
    shape2->setFrameShape(QFrame::Box);
    auto* body = new QVBoxLayout(shape2);
    body->setContentsMargins(20, 14, 20, 14);
    body->setSpacing(8);

    auto* title = NamedLabel(shape2, "lblTitle", QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    title->setFont(QFont(QStringLiteral("Arial"), 13, QFont::Bold));
    body->addWidget(title);
    auto* version = NamedLabel(shape2, "lblVersion", QStringLiteral("Versão 2.0.1 - 30/09/2013"));
    body->addWidget(version);

    auto* line = new QFrame(shape2);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    body->addWidget(line);

    auto* description = NamedLabel(shape2, "lblDescription",
                                   QStringLiteral("Pesquisa dos processos de marcas publicados na Revista da "
                                                  "Propriedade Industrial (RPI) do INPI: por marca, titular, "
                                                  "procurador, CNPJ/CPF, revista, vigência e número do processo."));
    description->setWordWrap(true);
    body->addWidget(description);
    auto* notice = NamedLabel(shape2, "Label2",
                              QStringLiteral("Programa de uso exclusivo deste escritório. "
                                             "Cópia ou distribuição não autorizadas."));
    notice->setWordWrap(true);
    body->addWidget(notice);
    outer->addWidget(shape2);

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* ok = DialogButton(this, "cmdOK", QStringLiteral("OK"), true);
    connect(ok, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    row->addWidget(ok);
    outer->addLayout(row);

    setFixedWidth(460);
}

void frmAbout::cmdOK_Click() { accept(); }
