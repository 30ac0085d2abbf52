#include "game/Estatisticas.h"

#include "io/GravacaoSegura.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// The first line. It must not start with "[SOMADO": the system takes text files that do for
// saved games.
constexpr const char* CCabecalho = "SOMADO-ESTATISTICAS";
constexpr const char* CChaveVersao = "VERSAO=";
// Raised only when a reader of the older version would misread the file; new kinds of line
// or new keys on a line leave it alone, since readers skip what they do not know.
constexpr int64_t CVersao = 1;

// The levels as the file names them, in the order of TNivelDificuldade.
constexpr std::array<const char*, CNiveisDasEstatisticas> CCodigosNivel{"facil", "medio", "dificil",
                                                                        "muito-dificil"};

std::string Utf8(const QString& ATexto) {
    return ATexto.toStdString();
}

// ASCII decimal digits only, no sign, no blanks; at most 18, so the value fits 64 bits.
bool LerNatural(QStringView ATexto, int64_t& AValor) {
    if (ATexto.isEmpty() || ATexto.size() > 18) return false;
    int64_t valor = 0;
    for (const QChar c : ATexto) {
        if (c < u'0' || c > u'9') return false;
        valor = valor * 10 + (c.unicode() - u'0');
    }
    AValor = valor;
    return true;
}

bool LerTempo(QStringView ATexto, int64_t& AValor) {
    return LerNatural(ATexto, AValor) && AValor <= CTempoMaximoEstatisticasMs;
}

// Looked at before anything is opened: opening a FIFO waits for a writer that may never come,
// and a device such as /dev/zero never ends.
bool LerBytes(const QString& ACaminho, QByteArray& ABytes, QString& AMotivo) {
    const QString demasiadoGrande = QStringLiteral("é demasiado grande (mais de %1 MB)")
                                        .arg(CTamanhoMaximoEstatisticas / (1024 * 1024));
    const QString naoNormal =
        QStringLiteral("não é um ficheiro normal (pode ser um dispositivo ou um canal)");
    const QFileInfo info(ACaminho);
    if (info.isDir()) {
        AMotivo = QStringLiteral("é uma pasta, não um ficheiro");
        return false;
    }
    if (!info.isFile()) {
        AMotivo = naoNormal;
        return false;
    }
    if (info.size() > CTamanhoMaximoEstatisticas) {
        AMotivo = demasiadoGrande;
        return false;
    }
    QFile ficheiro(ACaminho);
    if (!ficheiro.open(QIODevice::ReadOnly)) {
        AMotivo = info.isReadable() ? QStringLiteral("erro de leitura no disco")
                                    : QStringLiteral("sem permissão para o ler");
        return false;
    }
    // Something else may have taken the name since it was looked at.
    if (ficheiro.isSequential()) {
        AMotivo = naoNormal;
        return false;
    }
    ABytes = ficheiro.read(CTamanhoMaximoEstatisticas + 1);
    if (ficheiro.error() != QFileDevice::NoError) {
        AMotivo = QStringLiteral("erro de leitura no disco");
        return false;
    }
    if (ABytes.size() > CTamanhoMaximoEstatisticas) {
        AMotivo = demasiadoGrande;
        return false;
    }
    return true;
}

// The unreadable file is put aside rather than lost, and the player is told where.
QString PorDeParte(const QString& ACaminho, const QString& AMotivo) {
    const QString destino = PorDeParteComData(ACaminho);
    if (!destino.isEmpty())
        return QStringLiteral("O ficheiro das estatísticas \"%1\" não pôde ser lido (%2): ficou "
                              "guardado à parte como \"%3\" e as estatísticas recomeçam do zero.")
            .arg(NomeSemPasta(ACaminho), AMotivo, NomeSemPasta(destino));
    return QStringLiteral("O ficheiro das estatísticas \"%1\" não pôde ser lido (%2) nem posto à "
                          "parte com outro nome: as estatísticas recomeçam do zero.")
        .arg(NomeSemPasta(ACaminho), AMotivo);
}

} // namespace

QString TEstatisticas::CaminhoPredefinido() {
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (pasta.isEmpty()) return {};
    return QDir(pasta).filePath(QStringLiteral("estatisticas.txt"));
}

int TEstatisticas::Indice(int32_t ALado, TNivelDificuldade ANivel) {
    const auto nivel = static_cast<int>(ANivel);
    if (nivel < 0 || nivel >= CNiveisDasEstatisticas) return -1;
    const auto lado = std::find(CLadosDasEstatisticas.begin(), CLadosDasEstatisticas.end(), ALado);
    if (lado == CLadosDasEstatisticas.end()) return -1;
    return static_cast<int>(lado - CLadosDasEstatisticas.begin()) * CNiveisDasEstatisticas + nivel;
}

bool TEstatisticas::RegistarFim(int32_t ALado, TNivelDificuldade ANivel, int64_t ATempoMs) {
    const int indice = Indice(ALado, ANivel);
    if (indice < 0 || ATempoMs < 0 || ATempoMs > CTempoMaximoEstatisticasMs) return false;
    TRegisto& registo = FRegistos[static_cast<size_t>(indice)];
    const bool melhor = registo.Resolvidos == 0 || ATempoMs < registo.MelhorMs;
    if (melhor) registo.MelhorMs = ATempoMs;
    if (registo.Resolvidos < std::numeric_limits<int32_t>::max()) ++registo.Resolvidos;
    registo.Tempos.push_back(ATempoMs);
    while (static_cast<qsizetype>(registo.Tempos.size()) > CTemposGuardados)
        registo.Tempos.pop_front();
    return melhor;
}

TEstatisticas::TResumo TEstatisticas::Resumo(int32_t ALado, TNivelDificuldade ANivel) const {
    const int indice = Indice(ALado, ANivel);
    if (indice < 0) return {};
    const TRegisto& registo = FRegistos[static_cast<size_t>(indice)];
    if (registo.Resolvidos == 0 || registo.Tempos.empty()) return {};
    std::vector<int64_t> tempos(registo.Tempos.begin(), registo.Tempos.end());
    const auto meio = tempos.begin() + static_cast<std::ptrdiff_t>(tempos.size() / 2);
    std::nth_element(tempos.begin(), meio, tempos.end());
    int64_t mediana = *meio;
    if (tempos.size() % 2 == 0) {
        // The lower middle is the largest of the half below the upper one.
        const int64_t abaixo = *std::max_element(tempos.begin(), meio);
        mediana = Arredondar((static_cast<double>(abaixo) + static_cast<double>(mediana)) / 2);
    }
    return {registo.Resolvidos, registo.MelhorMs, mediana};
}

bool TEstatisticas::Vazia() const {
    return std::all_of(FRegistos.begin(), FRegistos.end(),
                       [](const TRegisto& ARegisto) { return ARegisto.Resolvidos == 0; });
}

void TEstatisticas::Limpar() {
    FRegistos = {};
}

QByteArray TEstatisticas::Texto() const {
    QByteArray texto;
    texto += CCabecalho;
    texto += ' ';
    texto += CChaveVersao;
    texto += QByteArray::number(CVersao);
    texto += "\r\n";
    texto += QStringLiteral("# Tabuleiros resolvidos sem \"Dica\" nem \"Ver Solução\", por tamanho "
                            "e nível: quantos, o melhor tempo\r\n"
                            "# e os últimos %1 tempos, do mais antigo ao mais recente, em "
                            "milissegundos.\r\n")
                 .arg(CTemposGuardados)
                 .toUtf8();
    for (const int32_t lado : CLadosDasEstatisticas)
        for (int nivel = 0; nivel < CNiveisDasEstatisticas; ++nivel) {
            const TRegisto& registo =
                FRegistos[static_cast<size_t>(Indice(lado, static_cast<TNivelDificuldade>(nivel)))];
            if (registo.Resolvidos == 0) continue;
            texto += "TAMANHO=" + QByteArray::number(lado);
            texto += " NIVEL=";
            texto += CCodigosNivel[static_cast<size_t>(nivel)];
            texto += " RESOLVIDOS=" + QByteArray::number(registo.Resolvidos);
            texto += " MELHOR=" + QByteArray::number(registo.MelhorMs);
            texto += " TEMPOS=";
            bool primeiro = true;
            for (const int64_t tempo : registo.Tempos) {
                if (!primeiro) texto += ',';
                texto += QByteArray::number(tempo);
                primeiro = false;
            }
            texto += "\r\n";
        }
    return texto;
}

namespace {

// One "TAMANHO=…" line: its pieces, each a key and a value. Keys it does not know are
// skipped (a later version may add some); a known key given twice, or a piece that is no
// key and value, makes the line wrong.
struct TLinhaDeTempos {
    int64_t Lado = -1;
    int Nivel = -1;
    int64_t Resolvidos = -1;
    int64_t Melhor = -1;
    std::vector<int64_t> Tempos;
};

bool LerLinhaDeTempos(const QString& ALinha, TLinhaDeTempos& ALida) {
    bool temTempos = false;
    for (const QString& peca : ALinha.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype igual = peca.indexOf(u'=');
        if (igual <= 0) return false;
        const QStringView chave = QStringView(peca).first(igual);
        const QStringView valor = QStringView(peca).sliced(igual + 1);
        if (chave == u"TAMANHO") {
            if (ALida.Lado >= 0 || !LerNatural(valor, ALida.Lado)) return false;
        } else if (chave == u"NIVEL") {
            if (ALida.Nivel >= 0) return false;
            for (size_t n = 0; n < CCodigosNivel.size(); ++n)
                if (valor == QLatin1String(CCodigosNivel[n])) ALida.Nivel = static_cast<int>(n);
            if (ALida.Nivel < 0) return false;
        } else if (chave == u"RESOLVIDOS") {
            if (ALida.Resolvidos >= 0 || !LerNatural(valor, ALida.Resolvidos)) return false;
        } else if (chave == u"MELHOR") {
            if (ALida.Melhor >= 0 || !LerTempo(valor, ALida.Melhor)) return false;
        } else if (chave == u"TEMPOS") {
            if (temTempos) return false;
            temTempos = true;
            for (const QStringView tempo : valor.split(u',')) {
                int64_t ms = 0;
                if (!LerTempo(tempo, ms)) return false;
                ALida.Tempos.push_back(ms);
            }
        }
    }
    return ALida.Lado >= 0 && ALida.Nivel >= 0 && ALida.Resolvidos >= 0 && ALida.Melhor >= 0 &&
           temTempos;
}

} // namespace

bool TEstatisticas::LerTexto(const QByteArray& ABytes, QString& AMotivo) {
    // A NUL is no part of any text, and the decoder would let it through.
    if (ABytes.contains('\0')) {
        AMotivo = QStringLiteral("não é texto");
        return false;
    }
    QStringDecoder decodificador(QStringDecoder::Utf8);
    const QString texto = decodificador.decode(ABytes);
    if (decodificador.hasError()) {
        AMotivo = QStringLiteral("não é texto");
        return false;
    }
    const QStringList linhas = texto.split(u'\n');
    const auto linhaLimpa = [&linhas](qsizetype AIndice) {
        QString linha = linhas[AIndice];
        if (linha.endsWith(u'\r')) linha.chop(1);
        return linha.simplified();
    };

    const QStringList cabecalho = linhaLimpa(0).split(u' ');
    int64_t versao = 0;
    if (cabecalho.size() < 2 || cabecalho[0] != QLatin1String(CCabecalho) ||
        !cabecalho[1].startsWith(QLatin1String(CChaveVersao)) ||
        !LerNatural(QStringView(cabecalho[1]).sliced(qstrlen(CChaveVersao)), versao) ||
        versao == 0) {
        AMotivo = QStringLiteral("não é um ficheiro de estatísticas do Somado");
        return false;
    }
    if (versao > CVersao) {
        AMotivo = QStringLiteral("foi gravado por uma versão mais recente do Somado");
        return false;
    }

    decltype(FRegistos) lidos;
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        const QString linha = linhaLimpa(i);
        // Blank lines, comments and lines of kinds a later version may add.
        if (!linha.startsWith(QLatin1String("TAMANHO="))) continue;
        const auto erro = [&](const char* AQueHa) {
            AMotivo = QStringLiteral("a linha %1 %2: \"%3\"")
                          .arg(i + 1)
                          .arg(QString::fromUtf8(AQueHa), TextoCitado(linha));
            return false;
        };
        TLinhaDeTempos lida;
        if (!LerLinhaDeTempos(linha, lida)) return erro("não se entende");
        const int indice = lida.Lado <= CLadoMaximo
                               ? Indice(static_cast<int32_t>(lida.Lado),
                                        static_cast<TNivelDificuldade>(lida.Nivel))
                               : -1;
        if (indice < 0) return erro("tem um tamanho que o Somado não oferece");
        TRegisto& registo = lidos[static_cast<size_t>(indice)];
        if (registo.Resolvidos > 0) return erro("repete um tamanho e nível já lidos");
        // Every time counted is a board solved, and none is better than the best.
        if (lida.Tempos.empty() || lida.Resolvidos < static_cast<int64_t>(lida.Tempos.size()) ||
            lida.Resolvidos > std::numeric_limits<int32_t>::max() ||
            lida.Melhor > *std::min_element(lida.Tempos.begin(), lida.Tempos.end()))
            return erro("tem números que não batem certo");
        registo.Resolvidos = static_cast<int32_t>(lida.Resolvidos);
        registo.MelhorMs = lida.Melhor;
        // A file edited by hand may hold more than this program keeps: the most recent stay.
        const auto primeiro =
            lida.Tempos.end() -
            std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(lida.Tempos.size()),
                                     CTemposGuardados);
        registo.Tempos.assign(primeiro, lida.Tempos.end());
    }
    FRegistos = std::move(lidos);
    return true;
}

bool TEstatisticas::Carregar(const QString& ACaminho, QString& AAviso) {
    AAviso.clear();
    Limpar();
    // Nothing recorded yet; a link to nowhere is no more than that either.
    if (!QFileInfo::exists(ACaminho)) return true;
    QByteArray bytes;
    QString motivo;
    // An empty file holds nothing to keep: it is simply an empty record.
    if (LerBytes(ACaminho, bytes, motivo) && (bytes.isEmpty() || LerTexto(bytes, motivo)))
        return true;
    AAviso = PorDeParte(ACaminho, motivo);
    return false;
}

void TEstatisticas::Gravar(const QString& ACaminho) const {
    if (ACaminho.isEmpty())
        throw ESomadoError("Não foi possível gravar as estatísticas: o sistema não indica uma "
                           "pasta para os dados do programa.");
    const QString pasta = QFileInfo(ACaminho).absolutePath();
    if (!QFileInfo(pasta).isDir() && !QDir().mkpath(pasta))
        throw ESomadoError(Format("Não foi possível gravar o ficheiro \"%s\": não foi possível "
                                  "criar a pasta \"%s\"",
                                  Utf8(NomeSemPasta(ACaminho)).c_str(),
                                  Utf8(NomeSemPasta(pasta)).c_str()));
    GravarFicheiroInteiro(ACaminho, Texto());
}
