#include "frmTrocaSenha.h"

#include "Db.h"
#include "DialogFrame.h"
#include "OneLineBox.h"
#include "Password.h"
#include "Ui.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kSenhaInvalida = QStringLiteral("    Senha Inválida ! ");
const QString kSemControle =
    QStringLiteral("Senha do administrador não encontrada: a tabela Controle não tem o registro 1 !");

TrocaSenhaResult refuse(const QString& message, SenhaBox focus)
{
    TrocaSenhaResult r;
    r.message = message;
    r.focus = focus;
    return r;
}

TrocaSenhaResult failure(const QString& message)
{
    TrocaSenhaResult r;
    r.message = message;
    r.style = vb::Critical;
    return r;
}

QString sqlErrorText(const QSqlError& e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty()) t = e.text().trimmed();
    return t;
}

// Stores the scrambled password as a bound value, so apostrophes and control
// characters arrive intact. Returns the number of rows written.
int storePassword(DbConnection& db, const QString& scrambled)
{
    if (!db.isOpen()) throw DbError(QStringLiteral("A conexão com o banco de dados não está aberta."));
    const QString sql = QStringLiteral("UPDATE Controle SET controle6=? Where codigo = 1");
    QSqlQuery q(db.database());
    if (!q.prepare(sql)) db.fail(sqlErrorText(q.lastError()), sql);
    q.addBindValue(scrambled);
    if (!q.exec()) db.fail(sqlErrorText(q.lastError()), sql);
    const int n = q.numRowsAffected();
    q.finish();
    return n;
}

}  // namespace

TrocaSenhaResult TrocaSenha(const QString& senhaAtual, const QString& novaSenha, const QString& novaSenha1,
                            DbConnection& db)
{
    try {
        // One short transaction around the read and the write: it reads the
        // password as stored now (not as an earlier prepared read saw it),
        // and it lets go of every prepared read when it ends, so the next
        // check of the password sees the new one.
        DbTransaction transaction(db);
        const Recordset rs = db.query(QStringLiteral("select controle6 from Controle where codigo=1"));

        if (senhaAtual.isEmpty()) return refuse(kSenhaInvalida, SenhaBox::SenhaAtual);
        if (rs.recordCount() == 0) return failure(kSemControle);
        const QVariant stored = rs.at(0, QStringLiteral("controle6"));
        const std::optional<QString> atual = ScramblePassword(senhaAtual);
        if (!atual) return refuse(kSenhaInvalida, SenhaBox::SenhaAtual);
        // A password never set (Null) lets any current password through.
        if (!stored.isNull() && *atual != stored.toString()) return refuse(kSenhaInvalida, SenhaBox::SenhaAtual);

        if (novaSenha.isEmpty()) return refuse(QStringLiteral("Digite nova senha ! "), SenhaBox::NovaSenha);
        const QString nova = TrimBlanks(novaSenha);
        if (nova.size() < 6)
            return refuse(QStringLiteral(" Senha tem que ter um mínimo de 6 caracteres ! "), SenhaBox::NovaSenha);
        if (novaSenha1.isEmpty())
            return refuse(QStringLiteral("Repita digitação da nova senha ! "), SenhaBox::NovaSenha1);
        if (nova != TrimBlanks(novaSenha1))
            return refuse(QStringLiteral("Nova Senha digitada incorretamente ! "), SenhaBox::NovaSenha1);
        const std::optional<QString> scrambled = ScramblePassword(nova);
        if (!scrambled) return refuse(kSenhaInvalida, SenhaBox::NovaSenha);

        if (storePassword(db, *scrambled) == 0) return failure(kSemControle);
        transaction.commit();
        TrocaSenhaResult r;
        r.changed = true;
        r.message = QStringLiteral("Senha Alterada com Sucesso ! ");
        return r;
    } catch (const DbError& e) {
        return failure(QStringLiteral("Erro no banco de dados:\n") + e.message());
    }
}

// ------------------------------------------------------------------ screen

namespace {

QLineEdit* passwordBox(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMinimumWidth(180);
    OneLineBox(e);
    return e;
}

}  // namespace

frmTrocaSenha::frmTrocaSenha(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTrocaSenha"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kWindowTitle);
    setModal(true);

    auto* outer = DialogColumn(this, 14);
    AddDialogHeading(this, outer, QStringLiteral("Troca de Senha"), 18);

    auto* shape2 = new QFrame(this);
    shape2->setObjectName(QStringLiteral("Shape2"));
    shape2->setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(shape2);
    grid->setContentsMargins(24, 18, 24, 18);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    SenhaAtual_ = passwordBox(shape2, "SenhaAtual");
    NovaSenha_ = passwordBox(shape2, "NovaSenha");
    NovaSenha_->setMaxLength(10);
    NovaSenha1_ = passwordBox(shape2, "NovaSenha1");
    const struct {
        const char* name;
        const char* text;
        QLineEdit* box;
    } rows[] = {{"Label2", "Senha Atual :", SenhaAtual_},
                {"Label3", "Nova Senha :", NovaSenha_},
                {"Label4", "Confirmar Nova Senha :", NovaSenha1_}};
    int r = 0;
    for (const auto& row : rows) {
        auto* l = NamedLabel(shape2, row.name, QString::fromUtf8(row.text));
        l->setBuddy(row.box);
        grid->addWidget(l, r, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(row.box, r, 1);
        ++r;
    }
    outer->addWidget(shape2);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* ok = DialogButton(this, "SelecFile", QStringLiteral("OK"), true);
    connect(ok, &QPushButton::clicked, this, &frmTrocaSenha::SelecFile_Click);
    buttons->addWidget(ok);
    auto* sair = DialogButton(this, "Cancelar", QStringLiteral("Sair"), false);
    // Enter on the focused Sair leaves, as its click does; it never changes
    // the password through the default OK.
    sair->setAutoDefault(true);
    connect(sair, &QPushButton::clicked, this, &frmTrocaSenha::Cancelar_Click);
    buttons->addWidget(sair);
    outer->addLayout(buttons);

    // Form_Load
    for (QLineEdit* e : {SenhaAtual_, NovaSenha_, NovaSenha1_}) {
        e->setEchoMode(QLineEdit::Password);
        e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
        e->installEventFilter(this);
    }
    SenhaAtual_->setFocus();
    setFixedSize(sizeHint());
}

bool frmTrocaSenha::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == SenhaAtual_) SenhaAtual_GotFocus();
        else if (watched == NovaSenha_) NovaSenha_GotFocus();
        else if (watched == NovaSenha1_) NovaSenha1_GotFocus();
        // A click places the cursor after the focus arrives: select again then.
        if (auto* e = qobject_cast<QLineEdit*>(watched);
            e && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, e, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmTrocaSenha::SenhaAtual_GotFocus() { SenhaAtual_->selectAll(); }
void frmTrocaSenha::NovaSenha_GotFocus() { NovaSenha_->selectAll(); }
void frmTrocaSenha::NovaSenha1_GotFocus() { NovaSenha1_->selectAll(); }

QLineEdit* frmTrocaSenha::box(SenhaBox b) const
{
    switch (b) {
    case SenhaBox::SenhaAtual: return SenhaAtual_;
    case SenhaBox::NovaSenha: return NovaSenha_;
    case SenhaBox::NovaSenha1: return NovaSenha1_;
    case SenhaBox::None: break;
    }
    return nullptr;
}

void frmTrocaSenha::SelecFile_Click()
{
    const TrocaSenhaResult r =
        TrocaSenha(SenhaAtual_->text(), NovaSenha_->text(), NovaSenha1_->text(), DbConnection::instance());
    MsgBox(r.message, r.style);
    if (QLineEdit* e = box(r.focus)) {
        e->setFocus();
        e->selectAll();
    }
}

void frmTrocaSenha::Cancelar_Click() { close(); }
