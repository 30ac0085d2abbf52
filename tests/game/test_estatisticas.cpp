// The player's statistics: counting finishes per size and level, the best and median times,
// the file they live in (read back as written, read as an editor or a later version may leave
// it, set aside when damaged) and saves that cannot be made. Every file lives in a temporary
// folder; the user's own data folder is never touched.
#include "game/Estatisticas.h"
#include "io/ApoioFicheiros.h"
#include "io/ApoioSmd.h"
#include "io/GravacaoSegura.h"
#include "io/ProcessoFilho.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using TResumo = TEstatisticas::TResumo;

static void PrintTo(const TResumo& AResumo, std::ostream* ASaida) {
    *ASaida << "{resolvidos " << AResumo.Resolvidos << ", melhor " << AResumo.MelhorMs
            << " ms, mediana " << AResumo.MedianaMs << " ms}";
}

namespace {

constexpr auto Facil = TNivelDificuldade::ndFacil;
constexpr auto Medio = TNivelDificuldade::ndMedio;
constexpr auto Dificil = TNivelDificuldade::ndDificil;
constexpr auto MuitoDificil = TNivelDificuldade::ndMuitoDificil;
constexpr TNivelDificuldade CNiveis[] = {Facil, Medio, Dificil, MuitoDificil};

// The median as the definition gives it, from a sorted copy: the middle time, or the mean of
// the middle two rounded to the nearest millisecond, halves to the even one.
int64_t MedianaOrdenada(std::vector<int64_t> ATempos) {
    std::sort(ATempos.begin(), ATempos.end());
    const size_t n = ATempos.size();
    if (n % 2 == 1) return ATempos[n / 2];
    const int64_t soma = ATempos[n / 2 - 1] + ATempos[n / 2];
    return soma / 2 + (soma % 2 == 1 && (soma / 2) % 2 == 1 ? 1 : 0);
}

// What the record says for every size and level the program offers.
std::vector<TResumo> TodosOsResumos(const TEstatisticas& AEstatisticas) {
    std::vector<TResumo> resumos;
    for (const int32_t lado : CLadosDasEstatisticas)
        for (const TNivelDificuldade nivel : CNiveis)
            resumos.push_back(AEstatisticas.Resumo(lado, nivel));
    return resumos;
}

// A record that has something in several places, so that a load that keeps any of it shows.
TEstatisticas RegistoAnterior() {
    TEstatisticas estatisticas;
    estatisticas.RegistarFim(6, Facil, 45000);
    estatisticas.RegistarFim(25, MuitoDificil, 7200000);
    estatisticas.RegistarFim(9, Medio, 300000);
    return estatisticas;
}

// ---- Counting finishes ---------------------------------------------------------------------

TEST(EstatisticasRegisto, SizesAreTheOnesTheProgramOffers) {
    std::set<int32_t> lados;
    for (int t = 0; t <= static_cast<int>(TTamanhoTabuleiro::tt16); ++t)
        lados.insert(LadoDoTabuleiro(static_cast<TTamanhoTabuleiro>(t)));
    EXPECT_EQ(std::vector<int32_t>(lados.begin(), lados.end()),
              std::vector<int32_t>(CLadosDasEstatisticas.begin(), CLadosDasEstatisticas.end()));
}

TEST(EstatisticasRegisto, TheFirstFinishAndEveryFasterOneIsANewBest) {
    const struct {
        const char* Nome;
        std::vector<int64_t> Tempos;
        std::vector<bool> Melhores;
    } casos[] = {
        {"one finish", {90000}, {true}},
        {"slower, tied, then faster",
         {90000, 95000, 90000, 89999, 120000, 1000},
         {true, false, false, true, false, true}},
        {"zero milliseconds, then zero again", {0, 0}, {true, false}},
        {"every one faster", {5000, 4000, 3000}, {true, true, true}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        TEstatisticas estatisticas;
        std::vector<bool> melhores;
        for (const int64_t tempo : caso.Tempos)
            melhores.push_back(estatisticas.RegistarFim(12, Dificil, tempo));
        EXPECT_EQ(melhores, caso.Melhores);
        const TResumo resumo = estatisticas.Resumo(12, Dificil);
        EXPECT_EQ(resumo.Resolvidos, static_cast<int32_t>(caso.Tempos.size()));
        EXPECT_EQ(resumo.MelhorMs, *std::min_element(caso.Tempos.begin(), caso.Tempos.end()));
    }
}

TEST(EstatisticasRegisto, MedianOfOddAndEvenCounts) {
    const struct {
        std::vector<int64_t> Tempos;
        int64_t Mediana;
    } casos[] = {
        {{61000}, 61000},
        {{3000, 1000, 2000}, 2000},
        {{7000, 1000, 1000000, 2000, 3000}, 3000},
        {{4000, 1000, 3000, 2000}, 2500},
        {{1000, 1001}, 1000}, // 1000.5: the even neighbour
        {{1002, 1001}, 1002}, // 1001.5
        {{5, 100000, 5, 5}, 5},
        {{1000, 9000}, 5000},
    };
    for (const auto& caso : casos) {
        TEstatisticas estatisticas;
        for (const int64_t tempo : caso.Tempos)
            estatisticas.RegistarFim(15, Medio, tempo);
        EXPECT_EQ(estatisticas.Resumo(15, Medio).MedianaMs, caso.Mediana)
            << ::testing::PrintToString(caso.Tempos);
        EXPECT_EQ(MedianaOrdenada(caso.Tempos), caso.Mediana) << "the test's own median";
    }
}

// Each pair gets its own number of finishes at its own times, so that a finish counted in the
// wrong place changes some pair's count, best or median.
TEST(EstatisticasRegisto, EachSizeAndLevelKeepsItsOwn) {
    TEstatisticas estatisticas;
    int k = 0;
    for (const int32_t lado : CLadosDasEstatisticas)
        for (const TNivelDificuldade nivel : CNiveis) {
            const int64_t base = lado * 100000 + static_cast<int64_t>(nivel) * 1000;
            // Slowest first, so each pair's last finish is its best.
            for (int j = k; j >= 0; --j)
                EXPECT_TRUE(estatisticas.RegistarFim(lado, nivel, base + 10 * j));
            ++k;
        }
    k = 0;
    for (const int32_t lado : CLadosDasEstatisticas)
        for (const TNivelDificuldade nivel : CNiveis) {
            SCOPED_TRACE(::testing::Message() << lado << " level " << static_cast<int>(nivel));
            const int64_t base = lado * 100000 + static_cast<int64_t>(nivel) * 1000;
            // base, base + 10, … base + 10k: the median is base + 5k.
            EXPECT_EQ(estatisticas.Resumo(lado, nivel), (TResumo{k + 1, base, base + 5 * k}));
            ++k;
        }
}

TEST(EstatisticasRegisto, SizesLevelsAndTimesOutsideTheGameAreNotRecorded) {
    const struct {
        int32_t Lado;
        TNivelDificuldade Nivel;
        int64_t Tempo;
    } recusados[] = {
        {7, Facil, 60000},
        {0, Facil, 60000},
        {-9, Medio, 60000},
        {26, Dificil, 60000},
        {100000009, Facil, 60000},
        {9, static_cast<TNivelDificuldade>(4), 60000},
        {9, static_cast<TNivelDificuldade>(255), 60000},
        {9, Facil, -1},
        {9, Facil, CTempoMaximoEstatisticasMs + 1},
    };
    TEstatisticas estatisticas;
    for (const auto& caso : recusados) {
        SCOPED_TRACE(::testing::Message() << caso.Lado << " level " << static_cast<int>(caso.Nivel)
                                          << " " << caso.Tempo << " ms");
        EXPECT_FALSE(estatisticas.RegistarFim(caso.Lado, caso.Nivel, caso.Tempo));
        EXPECT_EQ(estatisticas.Resumo(caso.Lado, caso.Nivel), TResumo{});
    }
    EXPECT_TRUE(estatisticas.Vazia());
    EXPECT_EQ(TodosOsResumos(estatisticas), TodosOsResumos(TEstatisticas{}));

    // The ends of the range are times.
    EXPECT_TRUE(estatisticas.RegistarFim(9, Facil, CTempoMaximoEstatisticasMs));
    EXPECT_TRUE(estatisticas.RegistarFim(9, Facil, 0));
    EXPECT_EQ(estatisticas.Resumo(9, Facil), (TResumo{2, 0, CTempoMaximoEstatisticasMs / 2}));
}

// ---- The file ------------------------------------------------------------------------------

class EstatisticasFicheiro : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FPasta.isValid()); }
    QString Caminho(const QString& ANome) const { return FPasta.filePath(ANome); }

    QTemporaryDir FPasta;
};

// More finishes than are kept: the count and the best cover them all, the median only the
// most recent, and that survives a save and a load.
TEST_F(EstatisticasFicheiro, KeepsTheLastTimesButCountsEveryBoard) {
    TEstatisticas estatisticas;
    std::vector<int64_t> tempos;
    // The best is the very first, long gone from the times kept.
    estatisticas.RegistarFim(20, Dificil, 500);
    std::mt19937 aleatorio(20);
    const int total = static_cast<int>(CTemposGuardados) + 5;
    for (int i = 1; i < total; ++i) {
        tempos.push_back(600 + static_cast<int64_t>(aleatorio() % 5000000));
        estatisticas.RegistarFim(20, Dificil, tempos.back());
    }
    const std::vector<int64_t> ultimos(tempos.end() - CTemposGuardados, tempos.end());
    const TResumo esperado{total, 500, MedianaOrdenada(ultimos)};
    EXPECT_EQ(estatisticas.Resumo(20, Dificil), esperado);

    estatisticas.Gravar(Caminho("estatisticas.txt"));
    const QList<QByteArray> linhas = ConteudoOuNaoAbre(Caminho("estatisticas.txt")).split('\n');
    const auto linha = std::find_if(linhas.begin(), linhas.end(), [](const QByteArray& ALinha) {
        return ALinha.startsWith("TAMANHO=20 NIVEL=dificil ");
    });
    ASSERT_NE(linha, linhas.end());
    EXPECT_EQ(linha->count(',') + 1, CTemposGuardados) << "times written";

    TEstatisticas lidas;
    QString aviso;
    ASSERT_TRUE(lidas.Carregar(Caminho("estatisticas.txt"), aviso)) << aviso.toStdString();
    EXPECT_EQ(lidas.Resumo(20, Dificil), esperado);
    // The next finish pushes out the oldest of the times read.
    lidas.RegistarFim(20, Dificil, 1);
    std::vector<int64_t> depois(ultimos.begin() + 1, ultimos.end());
    depois.push_back(1);
    EXPECT_EQ(lidas.Resumo(20, Dificil), (TResumo{total + 1, 1, MedianaOrdenada(depois)}));
}

TEST_F(EstatisticasFicheiro, SavedAndReopenedGivesTheSameSummaries) {
    TEstatisticas estatisticas;
    std::mt19937 aleatorio(7);
    for (int i = 0; i < 400; ++i) {
        const int32_t lado = CLadosDasEstatisticas[aleatorio() % CLadosDasEstatisticas.size()];
        // Some pairs stay empty, as most do for a real player.
        if (lado == 16) continue;
        estatisticas.RegistarFim(lado, CNiveis[aleatorio() % 4],
                                 static_cast<int64_t>(aleatorio() % 10000000));
    }
    // The folder is made by the save.
    const QString caminho = Caminho("Somado/dados/estatisticas.txt");
    estatisticas.Gravar(caminho);
    ASSERT_TRUE(QFileInfo(caminho).isFile());

    TEstatisticas lidas = RegistoAnterior();
    QString aviso = "por limpar";
    EXPECT_TRUE(lidas.Carregar(caminho, aviso));
    EXPECT_EQ(aviso, QString());
    EXPECT_EQ(TodosOsResumos(lidas), TodosOsResumos(estatisticas));
    EXPECT_EQ(lidas.Resumo(16, Facil), TResumo{});
    // Written again, the file is the same: nothing is lost or reordered on the way.
    EXPECT_EQ(lidas.Texto().toStdString(), estatisticas.Texto().toStdString());

    // Saving over the old file replaces it.
    lidas.RegistarFim(16, Facil, 123456);
    lidas.Gravar(caminho);
    TEstatisticas terceiras;
    ASSERT_TRUE(terceiras.Carregar(caminho, aviso));
    EXPECT_EQ(terceiras.Resumo(16, Facil), (TResumo{1, 123456, 123456}));
    EXPECT_EQ(Nomes(QFileInfo(caminho).absolutePath()), QStringList{"estatisticas.txt"});
}

TEST_F(EstatisticasFicheiro, AMissingOrEmptyFileIsAnEmptyRecord) {
    Escrever(Caminho("vazio.txt"), {});
    QStringList nomes{"nao-existe.txt", "vazio.txt"};
    QStringList ficam{"vazio.txt"};
#ifndef _WIN32
    // A link to nowhere (Qt makes shortcut files on Windows instead).
    ASSERT_TRUE(QFile::link(Caminho("nao-existe.txt"), Caminho("ligacao.txt")));
    nomes << "ligacao.txt";
    ficam.prepend("ligacao.txt");
#endif
    for (const QString& nome : nomes) {
        SCOPED_TRACE(nome.toStdString());
        TEstatisticas estatisticas = RegistoAnterior();
        QString aviso = "por limpar";
        EXPECT_TRUE(estatisticas.Carregar(Caminho(nome), aviso));
        EXPECT_EQ(aviso, QString());
        EXPECT_TRUE(estatisticas.Vazia());
    }
    // Nothing was made, renamed or set aside.
    EXPECT_EQ(Nomes(FPasta.path()), ficam);
}

// The file is meant to be read by a person: a version line, one line per size and level with
// what each number is, and comments that say what the times are.
TEST_F(EstatisticasFicheiro, TheFileIsTextAPersonCanFollow) {
    TEstatisticas estatisticas;
    estatisticas.RegistarFim(9, Medio, 65000);
    estatisticas.RegistarFim(9, Medio, 61000);
    estatisticas.RegistarFim(6, MuitoDificil, 1500);
    const QString texto = QString::fromUtf8(estatisticas.Texto());
    const QStringList linhas = texto.split("\r\n");
    ASSERT_EQ(linhas.size(), 6) << texto.toStdString();
    EXPECT_EQ(linhas[0], "SOMADO-ESTATISTICAS VERSAO=1");
    EXPECT_TRUE(linhas[1].startsWith("# ") && linhas[2].startsWith("# "));
    EXPECT_TRUE(texto.contains("\"Dica\"") && texto.contains("\"Ver Solução\"") &&
                texto.contains("milissegundos"));
    // Smaller boards first.
    EXPECT_EQ(linhas[3], "TAMANHO=6 NIVEL=muito-dificil RESOLVIDOS=1 MELHOR=1500 TEMPOS=1500");
    EXPECT_EQ(linhas[4], "TAMANHO=9 NIVEL=medio RESOLVIDOS=2 MELHOR=61000 TEMPOS=65000,61000");
    EXPECT_EQ(linhas[5], "");
    // Text files starting so are taken for saved games by the system.
    EXPECT_FALSE(texto.startsWith("[SOMADO"));
}

// Files changed by an editor, or written by a later version that adds lines and keys: what
// this version knows is read, the rest skipped.
TEST_F(EstatisticasFicheiro, ReadsWhatAnEditorOrALaterVersionMayLeave) {
    QByteArray muitos = "SOMADO-ESTATISTICAS VERSAO=1\nTAMANHO=9 NIVEL=medio RESOLVIDOS=2000 "
                        "MELHOR=1 TEMPOS=";
    std::vector<int64_t> tempos;
    for (int i = 0; i < 1500; ++i) {
        tempos.push_back(1000 + (i * 7919) % 3001);
        muitos += (i ? "," : "") + QByteArray::number(tempos.back());
    }
    const std::vector<int64_t> ultimos(tempos.end() - CTemposGuardados, tempos.end());
    const struct {
        const char* Nome;
        QByteArray Texto;
        TResumo Esperado;
    } casos[] = {
        {"line feeds only",
         "SOMADO-ESTATISTICAS VERSAO=1\nTAMANHO=9 NIVEL=medio RESOLVIDOS=3 MELHOR=500 "
         "TEMPOS=900,700\n",
         {3, 500, 800}},
        {"byte order mark, no last line end",
         "\xEF\xBB\xBFSOMADO-ESTATISTICAS VERSAO=1\r\nTAMANHO=9 NIVEL=medio RESOLVIDOS=1 "
         "MELHOR=700 TEMPOS=700",
         {1, 700, 700}},
        {"comments, blank lines, other kinds of line, unknown keys, tabs and extra spaces",
         "SOMADO-ESTATISTICAS  VERSAO=1   EDITADO=sim\r\n"
         "# As minhas estatísticas, copiadas do portátil\r\n"
         "\r\n"
         "MEDIAS 9 medio 800\r\n"
         "  TAMANHO=9\tNIVEL=medio  DATA=2024-05-01 RESOLVIDOS=4 MELHOR=600   "
         "TEMPOS=900,700,800,600  \r\n"
         "tamanho=12 isto=nao conta\r\n",
         {4, 600, 750}},
        {"more times than are kept: the most recent", muitos, {2000, 1, MedianaOrdenada(ultimos)}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        Escrever(Caminho("estatisticas.txt"), caso.Texto);
        TEstatisticas estatisticas = RegistoAnterior();
        QString aviso;
        EXPECT_TRUE(estatisticas.Carregar(Caminho("estatisticas.txt"), aviso));
        EXPECT_EQ(aviso, QString());
        EXPECT_EQ(estatisticas.Resumo(9, Medio), caso.Esperado);
        std::vector<TResumo> outros = TodosOsResumos(estatisticas);
        EXPECT_EQ(std::count(outros.begin(), outros.end(), TResumo{}),
                  static_cast<std::ptrdiff_t>(outros.size()) - 1)
            << "only 9 × 9 Médio holds anything";
        EXPECT_EQ(Nomes(FPasta.path()), QStringList{"estatisticas.txt"});
    }
}

// ---- Damaged files -------------------------------------------------------------------------

// A damaged file in place of the statistics. Make puts it at the path it is given.
struct TDanificado {
    const char* Nome;
    std::function<void(const QString&)> Fazer;
    // What the warning must say the matter was.
    QString Motivo;
    // Read in a child process that has given up root, so that permission bits stop it.
    bool SemPrivilegios = false;
};

QByteArray BytesAleatorios(int ATamanho, unsigned ASemente) {
    std::mt19937 aleatorio(ASemente);
    QByteArray bytes(ATamanho, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(aleatorio() & 0xFF);
    return bytes;
}

const QByteArray CCabecalho = "SOMADO-ESTATISTICAS VERSAO=1\r\n";
const QByteArray CLinhaBoa = "TAMANHO=9 NIVEL=facil RESOLVIDOS=1 MELHOR=60000 TEMPOS=60000\r\n";

std::function<void(const QString&)> Texto(const QByteArray& ABytes) {
    return [ABytes](const QString& ACaminho) { Escrever(ACaminho, ABytes); };
}

// Quoted in the warning as the io unit quotes any text: cut short and made visible.
const QString CLinhaErrada = "TAMANHO=9 NIVEL=facil RESOLVIDOS=2 MELHOR=1 TEMPOS=1,dois";

const std::vector<TDanificado>& Danificados() {
    static const std::vector<TDanificado> casos{
        {"some other text", Texto("Lista de compras\nleite\npão\n"),
         "não é um ficheiro de estatísticas do Somado"},
        {"binary bytes", Texto(BytesAleatorios(4096, 1)), "não é texto"},
        {"binary after a good start", Texto(CCabecalho + CLinhaBoa + QByteArray("\x00\x01\xFE", 3)),
         "não é texto"},
        {"not UTF-8", Texto(CCabecalho + "# estat\xEDsticas\r\n" + CLinhaBoa), "não é texto"},
        {"huge",
         [](const QString& ACaminho) {
             QByteArray bytes = CCabecalho + CLinhaBoa;
             const QByteArray comentario = "# " + QByteArray(98, 'x') + "\r\n";
             while (bytes.size() <= 2 * CTamanhoMaximoEstatisticas)
                 bytes += comentario;
             Escrever(ACaminho, bytes);
         },
         "é demasiado grande (mais de 1 MB)"},
        {"a folder",
         [](const QString& ACaminho) {
             ASSERT_TRUE(QDir().mkdir(ACaminho));
             Escrever(ACaminho + "/dentro.txt", "guardado");
         },
         "é uma pasta, não um ficheiro"},
        {"a later version", Texto("SOMADO-ESTATISTICAS VERSAO=2\r\nTUDO=diferente\r\n"),
         "foi gravado por uma versão mais recente do Somado"},
        {"no version", Texto("SOMADO-ESTATISTICAS\r\n" + CLinhaBoa),
         "não é um ficheiro de estatísticas do Somado"},
        {"a size the program does not offer",
         Texto(CCabecalho + "TAMANHO=7 NIVEL=facil RESOLVIDOS=1 MELHOR=1 TEMPOS=1\r\n"),
         "a linha 2 tem um tamanho que o Somado não oferece"},
        {"a time that is no number",
         Texto(CCabecalho + "# nota\r\n" + CLinhaErrada.toUtf8() + "\r\n"),
         "a linha 3 não se entende: \"" + TextoCitado(CLinhaErrada) + "\""},
        {"an unknown level",
         Texto(CCabecalho + "TAMANHO=9 NIVEL=extremo RESOLVIDOS=1 MELHOR=1 "
                            "TEMPOS=1\r\n"),
         "a linha 2 não se entende"},
        {"a key given twice",
         Texto(CCabecalho + "TAMANHO=9 NIVEL=facil RESOLVIDOS=1 MELHOR=1 "
                            "TEMPOS=1 MELHOR=2\r\n"),
         "a linha 2 não se entende"},
        {"a negative time",
         Texto(CCabecalho + "TAMANHO=9 NIVEL=facil RESOLVIDOS=1 MELHOR=1 "
                            "TEMPOS=-1\r\n"),
         "a linha 2 não se entende"},
        {"a best slower than a time kept",
         Texto(CCabecalho +
               "TAMANHO=9 NIVEL=facil RESOLVIDOS=2 MELHOR=70000 TEMPOS=80000,61000\r\n"),
         "a linha 2 tem números que não batem certo"},
        {"fewer solved than times kept",
         Texto(CCabecalho + "TAMANHO=9 NIVEL=facil RESOLVIDOS=1 MELHOR=1 TEMPOS=1,2\r\n"),
         "a linha 2 tem números que não batem certo"},
        {"the same size and level twice", Texto(CCabecalho + CLinhaBoa + CLinhaBoa),
         "a linha 3 repete um tamanho e nível já lidos"},
    };
    return casos;
}

#ifndef _WIN32
const std::vector<TDanificado>& DanificadosPosix() {
    static const std::vector<TDanificado> casos{
        // Opening a FIFO waits for a writer that never comes.
        {"a FIFO",
         [](const QString& ACaminho) {
             ASSERT_EQ(::mkfifo(QFile::encodeName(ACaminho).constData(), 0666), 0);
         },
         "não é um ficheiro normal (pode ser um dispositivo ou um canal)"},
        {"a link to a FIFO",
         [](const QString& ACaminho) {
             const QString canal = QFileInfo(ACaminho).absolutePath() + "/canal";
             ASSERT_EQ(::mkfifo(QFile::encodeName(canal).constData(), 0666), 0);
             ASSERT_TRUE(QFile::link(canal, ACaminho));
         },
         "não é um ficheiro normal (pode ser um dispositivo ou um canal)"},
        {"unreadable",
         [](const QString& ACaminho) {
             Escrever(ACaminho, CCabecalho + CLinhaBoa);
             ASSERT_TRUE(QFile::setPermissions(ACaminho, QFileDevice::WriteOwner));
         },
         "sem permissão para o ler", true},
    };
    return casos;
}
#endif

// The load of what the case put at the path, as it came out: whether it read the file, whether
// the record is then empty, and the warning.
struct TCarga {
    bool Lido = true;
    bool Vazia = false;
    QString Aviso;
};

// Loaded in a child process: a load that hangs is cut short and reported, not the whole run.
std::optional<TCarga> CarregarNoFilho(const QString& ACaminho, bool ASemPrivilegios) {
    TOpcoesFilho opcoes;
    opcoes.Prazo = 20;
    opcoes.SemPrivilegios = ASemPrivilegios;
    const std::optional<std::string> saida = NoFilho(
        [&] {
            TEstatisticas estatisticas = RegistoAnterior();
            QString aviso;
            const bool lido = estatisticas.Carregar(ACaminho, aviso);
            return std::string(lido ? "1" : "0") + (estatisticas.Vazia() ? "1" : "0") +
                   aviso.toStdString();
        },
        opcoes);
    if (!saida || saida->size() < 2) return std::nullopt;
    return TCarga{(*saida)[0] == '1', (*saida)[1] == '1', QString::fromStdString(saida->substr(2))};
}

class EstatisticasDanificadas : public EstatisticasFicheiro {
protected:
    // Each case in a folder of its own, which "nobody" may enter and change.
    void Verificar(const TDanificado& ACaso) {
        SCOPED_TRACE(ACaso.Nome);
        const QString pasta = Caminho(QString::fromUtf8(ACaso.Nome));
        ASSERT_TRUE(QDir().mkpath(pasta));
        ASSERT_TRUE(QFile::setPermissions(pasta, QFileDevice::Permissions(0x7777)));
        const QString caminho = pasta + "/estatisticas.txt";
        ACaso.Fazer(caminho);
        if (::testing::Test::HasFatalFailure()) return;
        const QFileInfo original(caminho);
        const bool eraFicheiro = original.isFile(), eraPasta = original.isDir(),
                   eraLigacao = original.isSymLink();
        const QByteArray bytes =
            eraFicheiro && !ACaso.SemPrivilegios ? ConteudoOuNaoAbre(caminho) : QByteArray();
        const QStringList antes = Nomes(pasta);

        const std::optional<TCarga> carga = CarregarNoFilho(caminho, ACaso.SemPrivilegios);
        ASSERT_TRUE(carga.has_value()) << "the load hung or died";
        EXPECT_FALSE(carga->Lido);
        EXPECT_TRUE(carga->Vazia) << "the record starts empty";
        const QString& aviso = carga->Aviso;
        EXPECT_TRUE(aviso.startsWith("O ficheiro das estatísticas \"estatisticas.txt\" não pôde "
                                     "ser lido (" +
                                     ACaso.Motivo))
            << aviso.toStdString();
        EXPECT_TRUE(aviso.endsWith("e as estatísticas recomeçam do zero.")) << aviso.toStdString();

        // Set aside under the name the warning gives, beside where it was, whatever it is.
        const QStringList depois = Nomes(pasta);
        EXPECT_FALSE(depois.contains("estatisticas.txt"));
        ASSERT_EQ(depois.size(), antes.size()) << depois.join(", ").toStdString();
        QStringList novos = depois;
        for (const QString& nome : antes)
            novos.removeOne(nome);
        ASSERT_EQ(novos.size(), 1) << depois.join(", ").toStdString();
        const QString& aParte = novos.front();
        EXPECT_TRUE(aParte.startsWith("estatisticas.txt.danificado-")) << aParte.toStdString();
        EXPECT_TRUE(aviso.contains("ficou guardado à parte como \"" + aParte + "\""))
            << aviso.toStdString();
        const QFileInfo guardado(pasta + "/" + aParte);
        EXPECT_EQ(guardado.isFile(), eraFicheiro);
        EXPECT_EQ(guardado.isDir(), eraPasta);
        EXPECT_EQ(guardado.isSymLink(), eraLigacao);
        if (!bytes.isEmpty()) {
            EXPECT_TRUE(ConteudoOuNaoAbre(guardado.filePath()) == bytes);
        }

        // The place is free again for the record that starts now.
        TEstatisticas novas;
        novas.RegistarFim(9, Facil, 61000);
        novas.Gravar(caminho);
        TEstatisticas lidas;
        QString outroAviso;
        EXPECT_TRUE(lidas.Carregar(caminho, outroAviso)) << outroAviso.toStdString();
        EXPECT_EQ(lidas.Resumo(9, Facil), (TResumo{1, 61000, 61000}));
    }
};

TEST_F(EstatisticasDanificadas, AreSetAsideWithAWarningAndTheRecordStartsEmpty) {
    for (const TDanificado& caso : Danificados())
        Verificar(caso);
}

#ifndef _WIN32

TEST_F(EstatisticasDanificadas, FifosAndUnreadableFilesAreSetAsideToo) {
    if (::geteuid() == 0)
        for (QDir acima(FPasta.path()); acima.cdUp();)
            if (!(QFileInfo(acima.path()).permissions() & QFileDevice::ExeOther))
                GTEST_SKIP() << "\"nobody\" cannot reach the temporary folder";
    ASSERT_TRUE(QFile::setPermissions(FPasta.path(), QFileDevice::Permissions(0x7777)));
    for (const TDanificado& caso : DanificadosPosix())
        Verificar(caso);
}

// Where the damaged file cannot be renamed, the warning says so and the file stays as it was.
TEST_F(EstatisticasDanificadas, AFileThatCannotBeSetAsideIsLeftAndTheWarningSaysSo) {
    if (::geteuid() == 0)
        for (QDir acima(FPasta.path()); acima.cdUp();)
            if (!(QFileInfo(acima.path()).permissions() & QFileDevice::ExeOther))
                GTEST_SKIP() << "\"nobody\" cannot reach the temporary folder";
    const QString pasta = Caminho("fechada");
    ASSERT_TRUE(QDir().mkdir(pasta));
    const QByteArray lixo = "Lista de compras\n";
    Escrever(pasta + "/estatisticas.txt", lixo);
    ASSERT_TRUE(QFile::setPermissions(FPasta.path(), QFileDevice::Permissions(0x7755)));
    ASSERT_TRUE(QFile::setPermissions(pasta, QFileDevice::Permissions(0x5555)));

    const std::optional<TCarga> carga = CarregarNoFilho(pasta + "/estatisticas.txt", true);
    ASSERT_TRUE(QFile::setPermissions(pasta, QFileDevice::Permissions(0x7755)));
    ASSERT_TRUE(carga.has_value()) << "the load hung or died";
    EXPECT_FALSE(carga->Lido);
    EXPECT_TRUE(carga->Vazia);
    EXPECT_EQ(carga->Aviso,
              "O ficheiro das estatísticas \"estatisticas.txt\" não pôde ser lido (não é um "
              "ficheiro de estatísticas do Somado) nem posto à parte com outro nome: as "
              "estatísticas recomeçam do zero.");
    EXPECT_EQ(Nomes(pasta), QStringList{"estatisticas.txt"});
    EXPECT_TRUE(ConteudoOuNaoAbre(pasta + "/estatisticas.txt") == lixo);
}

#else

TEST_F(EstatisticasDanificadas, FifosAndUnreadableFilesAreSetAsideToo) {
    GTEST_SKIP() << "Windows has no FIFO in the file system, and no user \"nobody\" for whom "
                    "permission bits would make a file unreadable";
}

TEST_F(EstatisticasDanificadas, AFileThatCannotBeSetAsideIsLeftAndTheWarningSaysSo) {
    GTEST_SKIP() << "a folder where nothing can be renamed needs POSIX permission bits and a "
                    "user \"nobody\"";
}

#endif

// ---- Saves that fail -----------------------------------------------------------------------

TEST_F(EstatisticasFicheiro, AReadOnlyFolderMakesTheSaveRaiseAndLeavesNothing) {
    SOMADO_PRECISA_DE_LIMITES_NO_FILHO();
#ifndef _WIN32
    if (::geteuid() == 0)
        for (QDir acima(FPasta.path()); acima.cdUp();)
            if (!(QFileInfo(acima.path()).permissions() & QFileDevice::ExeOther))
                GTEST_SKIP() << "\"nobody\" cannot reach the temporary folder";
#endif
    const QString pasta = Caminho("fechada");
    ASSERT_TRUE(QDir().mkdir(pasta));
    ASSERT_TRUE(QFile::setPermissions(FPasta.path(), QFileDevice::Permissions(0x7755)));
    ASSERT_TRUE(QFile::setPermissions(pasta, QFileDevice::Permissions(0x5555)));
    const struct {
        QString Caminho;
        std::string Inicio;
    } casos[] = {
        {pasta + "/estatisticas.txt",
         "Não foi possível gravar o ficheiro \"estatisticas.txt\": sem permissão"},
        {pasta + "/Somado/estatisticas.txt",
         "Não foi possível gravar o ficheiro \"estatisticas.txt\": não foi possível criar a "
         "pasta \"Somado\""},
    };
    TEstatisticas estatisticas;
    estatisticas.RegistarFim(9, Facil, 61000);
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Caminho.toStdString());
        TOpcoesFilho opcoes;
        opcoes.SemPrivilegios = true;
        // Only an ESomadoError gives its message here: anything else is reported as an
        // exception in the child.
        const std::optional<std::string> mensagem = NoFilho(
            [&] { return MensagemDoErro([&] { estatisticas.Gravar(caso.Caminho); }); }, opcoes);
        ASSERT_TRUE(mensagem.has_value()) << "the save hung or died";
        EXPECT_EQ(mensagem->substr(0, caso.Inicio.size()), caso.Inicio) << *mensagem;
    }
    EXPECT_EQ(Nomes(pasta), QStringList{});
    ASSERT_TRUE(QFile::setPermissions(pasta, QFileDevice::Permissions(0x7755)));
}

TEST(EstatisticasCaminho, WithoutADataFolderTheSaveRaises) {
    TEstatisticas estatisticas;
    estatisticas.RegistarFim(9, Facil, 61000);
    EXPECT_EQ(MensagemDoErro([&] { estatisticas.Gravar(QString()); }),
              "Não foi possível gravar as estatísticas: o sistema não indica uma pasta para os "
              "dados do programa.");
}

// The default file is in the program's data folder, which the first save makes. Qt's test
// mode and, where there is one, a home folder of the test's own keep the player's real
// statistics out of reach.
// Qt's test mode, the program's name and a home folder of the test's own, for as long as it
// lives; everything as it was afterwards, even when the test stops half-way.
class TAmbienteDeTeste {
public:
    explicit TAmbienteDeTeste(const QString& ACasa)
        : FNomeAntes(QCoreApplication::applicationName()), FCasaAntes(qgetenv("HOME")) {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName("Somado");
#ifndef _WIN32
        qputenv("HOME", QFile::encodeName(ACasa));
#else
        static_cast<void>(ACasa);
#endif
    }
    ~TAmbienteDeTeste() {
#ifndef _WIN32
        qputenv("HOME", FCasaAntes);
#endif
        QCoreApplication::setApplicationName(FNomeAntes);
        QStandardPaths::setTestModeEnabled(false);
    }
    TAmbienteDeTeste(const TAmbienteDeTeste&) = delete;
    TAmbienteDeTeste& operator=(const TAmbienteDeTeste&) = delete;

private:
    QString FNomeAntes;
    QByteArray FCasaAntes;
};

TEST(EstatisticasCaminho, TheDefaultFileIsInTheProgramsDataFolderWhichTheSaveMakes) {
    QTemporaryDir casa;
    ASSERT_TRUE(casa.isValid());
    const TAmbienteDeTeste ambiente(casa.path());
    const QString pastaDados = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString caminho = TEstatisticas::CaminhoPredefinido();
    const bool pastaExistia = QFileInfo::exists(pastaDados);

    EXPECT_FALSE(pastaDados.isEmpty());
    EXPECT_EQ(QFileInfo(caminho).fileName(), "estatisticas.txt");
    EXPECT_EQ(QDir::cleanPath(QFileInfo(caminho).absolutePath()), QDir::cleanPath(pastaDados));
    EXPECT_EQ(QFileInfo(pastaDados).fileName(), "Somado");
#ifndef _WIN32
    ASSERT_TRUE(caminho.startsWith(casa.path() + "/")) << caminho.toStdString();
    EXPECT_FALSE(pastaExistia);
#endif
    ASSERT_FALSE(QFileInfo::exists(caminho)) << "a test run left it behind";

    TEstatisticas estatisticas;
    estatisticas.RegistarFim(25, MuitoDificil, 5400000);
    estatisticas.Gravar(caminho);
    TEstatisticas lidas;
    QString aviso;
    EXPECT_TRUE(lidas.Carregar(caminho, aviso));
    EXPECT_EQ(lidas.Resumo(25, MuitoDificil), (TResumo{1, 5400000, 5400000}));

    QFile::remove(caminho);
    if (!pastaExistia) QDir().rmdir(pastaDados);
}

} // namespace
