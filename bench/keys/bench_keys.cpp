// Throughput of the three keys of a mark (cleaned, phonetic with and without
// vowels) over a deterministic list of realistic marks, on one thread.
#include "BenchRng.h"
#include "keys/Metaphone.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using bench::Rng;

const char16_t* const kWords[] = {
    u"SOL", u"MAR", u"CASA", u"AÇÃO", u"PÃO", u"AÇÚCAR", u"BRASIL", u"BRASILEIRA", u"NORTE",
    u"SUL", u"ESTRELA", u"OURO", u"PRATA", u"VERDE", u"AZUL", u"NOVA", u"ERA", u"TECH",
    u"SISTEMAS", u"SOLUÇÕES", u"COMÉRCIO", u"INDÚSTRIA", u"ALIMENTOS", u"BEBIDAS", u"CAFÉ",
    u"CHOCOLATE", u"EXPRESS", u"LOGÍSTICA", u"TRANSPORTES", u"SAÚDE", u"VIDA", u"FILHO",
    u"FILHOS", u"IRMÃOS", u"CIA", u"LTDA", u"GRUPO", u"MASTER", u"PLUS", u"TOP", u"MAX",
    u"QUALITY", u"EXCELÊNCIA", u"PHARMA", u"SCHMIDT", u"WHISKY", u"KNORR", u"YARA",
    u"GHANA", u"THOR", u"TCHAU", u"XUXA", u"EXAME", u"PRÓXIMO", u"ESCRITÓRIO", u"DESPACHO",
    u"Processo", u"Pesquisas", u"Exportar", u"Mãe", u"Coração", u"Jóia", u"Über", u"Straße",
    u"Doce", u"Lar", u"Pequeno", u"Príncipe", u"Fazenda", u"Boa", u"Esperança", u"Mineira",
    u"Gaúcha", u"Paulista", u"Carioca", u"Nordeste", u"Amazônia", u"Ipê", u"Jabuticaba"};
const char16_t* const kExtras[] = {u"&", u"-", u"@", u"2000", u"100%", u"3M", u"24H", u"(R)",
                                   u"S/A", u"Nº 1", u"+", u"DO", u"DA", u"DE", u"E"};

std::vector<QString> makeMarks(int count)
{
    Rng rng{20240611};
    std::vector<QString> marks;
    marks.reserve(count);
    const int nWords = int(sizeof kWords / sizeof *kWords);
    const int nExtras = int(sizeof kExtras / sizeof *kExtras);
    for (int i = 0; i < count; ++i) {
        QString m;
        const int words = 1 + rng.below(4);
        for (int w = 0; w < words; ++w) {
            if (w) m += u' ';
            if (w && rng.below(5) == 0) {
                m += QString::fromUtf16(kExtras[rng.below(nExtras)]);
                m += u' ';
            }
            m += QString::fromUtf16(kWords[rng.below(nWords)]);
        }
        marks.push_back(m);
    }
    return marks;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
    const std::vector<QString> marks = makeMarks(count);
    qint64 chars = 0;
    for (const QString& m : marks) chars += m.size();
    std::printf("marks: %d, average length %.1f\n", count, double(chars) / count);

    double best = 0;
    std::size_t checksum = 0;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        for (const QString& m : marks) {
            const QString clean = metaphonevar::LimpaTexto(m);
            const QString phon1 = metaphonevar::CalcMetaphone(m, 0, 0);
            const QString phon2 = metaphonevar::CalcMetaphone(m, -1, 0);
            checksum += std::size_t(clean.size() + phon1.size() + phon2.size());
        }
        const qint64 ns = t.nsecsElapsed();
        const double rate = double(count) * 1e9 / double(ns ? ns : 1);
        if (rate > best) best = rate;
    }
    std::printf("best of %d rounds: %.0f marks per second (three keys each)\n", rounds, best);
    std::printf("checksum %zu\n", checksum);
    return 0;
}
