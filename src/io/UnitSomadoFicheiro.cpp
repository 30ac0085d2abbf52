#include "io/UnitSomadoFicheiro.h"

#include "io/GravacaoSegura.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

constexpr const char* CSeccaoTipo = "TIPO";
constexpr const char* CSeccaoRightSum = "RIGHTSUM";
constexpr const char* CSeccaoDownSum = "DOWNSUM";
constexpr const char* CSeccaoValue = "VALUE";
constexpr const char* CSeccaoSolution = "SOLUTION";
constexpr const char* CTerminador = "[/SOMADO]";

std::string Utf8(const QString& ATexto) {
    return ATexto.toStdString();
}

QString MotivoDaLeitura(const QString& ACaminho) {
    const QFileInfo info(ACaminho);
    if (NomeDemasiadoComprido(ACaminho))
        return QStringLiteral("o nome do ficheiro é demasiado comprido");
    if (!info.exists()) return QStringLiteral("o ficheiro não existe");
    if (info.isDir()) return QStringLiteral("é uma pasta, não um ficheiro");
    if (!info.isFile())
        return QStringLiteral("não é um ficheiro normal (pode ser um dispositivo ou um canal)");
    if (!info.isReadable()) return QStringLiteral("sem permissão para o ler");
    return QStringLiteral("erro de leitura no disco");
}

bool DigitoAscii(QChar ACaracter) {
    return ACaracter >= u'0' && ACaracter <= u'9';
}

// ---------------------------------------------------------------------------------------------
// Writing

using TFormatadorCelula = std::function<QString(const TSomadoCell&)>;

void EscreverSeccao(QStringList& ALinhas, const TSomadoBoard& ABoard, const char* ANome,
                    const TFormatadorCelula& AFormatar) {
    const int32_t n = ABoard.Size();
    ALinhas << QString::fromLatin1(ANome);
    for (int32_t r = 0; r < n; ++r) {
        QStringList valores;
        valores.reserve(n);
        for (int32_t c = 0; c < n; ++c)
            valores << AFormatar(ABoard.GetCell(r, c));
        ALinhas << valores.join(u' ');
    }
}

// ---------------------------------------------------------------------------------------------
// Decoding

struct TMarcaDeOrdem {
    QByteArrayView Bytes;
    QStringConverter::Encoding Codificacao;
};

QString DecodificarTexto(const QByteArray& ABytes) {
    static const std::array<TMarcaDeOrdem, 3> CMarcas{{
        {QByteArrayView("\xEF\xBB\xBF", 3), QStringConverter::Utf8},
        {QByteArrayView("\xFF\xFE", 2), QStringConverter::Utf16LE},
        {QByteArrayView("\xFE\xFF", 2), QStringConverter::Utf16BE},
    }};
    for (const TMarcaDeOrdem& marca : CMarcas) {
        if (!ABytes.startsWith(marca.Bytes)) continue;
        // The mark is dropped here, so whatever follows it is content, even a second mark.
        // Stateless: a sequence cut short at the end becomes a replacement character
        // instead of vanishing.
        QStringDecoder decoder(marca.Codificacao, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(ABytes).sliced(marca.Bytes.size()));
    }
    // Without a mark, text that is valid UTF-8 is taken as such (ASCII files are both);
    // anything else is most likely an old editor's Latin-1, which never fails to decode.
    if (ABytes.isValidUtf8()) return QString::fromUtf8(ABytes);
    return QString::fromLatin1(ABytes);
}

// ---------------------------------------------------------------------------------------------
// Reading

// Cuts a decoded text into lines one at a time: CR LF, LF and CR each end a line; a last line
// without its end still counts, and a final line end adds no empty line.
class TCortadorDeLinhas {
public:
    explicit TCortadorDeLinhas(QString ATexto) : FTexto(std::move(ATexto)) {}

    bool Proxima(QString& ALinha) {
        const qsizetype tamanho = FTexto.size();
        if (FInicio >= tamanho) return false;
        qsizetype fim = FInicio;
        while (fim < tamanho && FTexto[fim] != u'\r' && FTexto[fim] != u'\n')
            ++fim;
        ALinha = FTexto.sliced(FInicio, fim - FInicio);
        if (fim < tamanho && FTexto[fim] == u'\r' && fim + 1 < tamanho && FTexto[fim + 1] == u'\n')
            ++fim;
        FInicio = fim + 1;
        return true;
    }

private:
    QString FTexto;
    qsizetype FInicio = 0;
};

// The next line for the reader, or false when there is none.
using TFonteDeLinhas = std::function<bool(QString&)>;

// Takes the cell, changes one field from the text value; the section reader writes it back.
// A value that no game can hold is refused with TValorInjogavel, which the section reader
// turns into a message naming the section and the row.
using TAlteradorCelula = std::function<void(TSomadoCell&, const QString&)>;

struct TValorInjogavel {
    std::string Motivo;
};

constexpr int32_t CSomaMaxima = 45; // 1 + 2 + … + 9

int32_t SomaJogavel(const QString& ATexto) {
    const int32_t soma = TextoParaInteiro(ATexto);
    if (soma < 0 || soma > CSomaMaxima)
        throw TValorInjogavel{
            Format("a soma %d está fora do intervalo de 0 a %d", soma, CSomaMaxima)};
    return soma;
}

// Only a white cell holds digits: a digit hidden in a black or clue cell would be invisible,
// yet undo and redo and the unsaved-moves test would see it.
int32_t DigitoJogavel(const TSomadoCell& ACell, const QString& ATexto, bool ASolucao) {
    const int32_t digito = TextoParaInteiro(ATexto);
    if (ACell.CellType != TCellType::ctEmpty) {
        if (digito != 0)
            throw TValorInjogavel{
                Format("a casa não é branca e não pode levar o valor %d", digito)};
        return digito;
    }
    if (ASolucao && (digito < 1 || digito > 9))
        throw TValorInjogavel{
            Format("a solução %d de uma casa branca está fora do intervalo de 1 a 9", digito)};
    if (!ASolucao && (digito < 0 || digito > 9))
        throw TValorInjogavel{Format("o algarismo %d está fora do intervalo de 0 a 9", digito)};
    return digito;
}

class TLeitorPuzzle {
public:
    explicit TLeitorPuzzle(TFonteDeLinhas AFonte) : FFonte(std::move(AFonte)) {}

    QString LerLinha() {
        QString linha;
        if (!FFonte(linha)) throw ESomadoError("Ficheiro .smd truncado — faltam linhas.");
        return linha;
    }

    void LerSeccao(TSomadoBoard& ABoard, const char* ANome, const TAlteradorCelula& AAlterar) {
        const QString titulo = LerLinha();
        if (titulo != QLatin1String(ANome))
            throw ESomadoError(
                Format("Ficheiro .smd com a estrutura errada — esperava \"%s\", encontrei \"%s\".",
                       ANome, Utf8(TextoCitado(titulo)).c_str()));
        const int32_t n = ABoard.Size();
        for (int32_t r = 0; r < n; ++r) {
            const QString linha = LerLinha();
            // Every space separates two values, so doubled or trailing spaces give empty
            // values that the conversion then refuses with the value's own message. Counted
            // before cutting, so a long damaged line is refused without becoming a list.
            const qsizetype quantos = linha.isEmpty() ? 0 : linha.count(u' ') + 1;
            if (quantos != n)
                throw ESomadoError(
                    Format("Ficheiro .smd inválido — a linha %d de \"%s\" não tem %d valores.", r,
                           ANome, n));
            const QStringList valores = linha.split(u' ');
            for (int32_t c = 0; c < n; ++c) {
                TSomadoCell cell = ABoard.GetCell(r, c);
                try {
                    AAlterar(cell, valores[c]);
                } catch (const TValorInjogavel& e) {
                    throw ESomadoError(
                        Format("Ficheiro .smd inválido — na linha %d de \"%s\", coluna %d, %s.", r,
                               ANome, c, e.Motivo.c_str()));
                }
                ABoard.SetCell(r, c, cell);
            }
        }
    }

private:
    TFonteDeLinhas FFonte;
};

std::unique_ptr<TSomadoBoard> LerPuzzleDe(TFonteDeLinhas AFonte);

} // namespace

std::string LetraDoTipo(TCellType ATipo) {
    switch (ATipo) {
    case TCellType::ctBlack:
        return "B";
    case TCellType::ctClue:
        return "P";
    case TCellType::ctEmpty:
        return "E";
    }
    return "?";
}

TCellType TipoDaLetra(const QString& ALetra) {
    if (ALetra == u"B") return TCellType::ctBlack;
    if (ALetra == u"P") return TCellType::ctClue;
    if (ALetra == u"E") return TCellType::ctEmpty;
    throw ESomadoError(Format("Carácter de tipo de célula desconhecido: \"%s\".",
                              Utf8(TextoCitado(ALetra)).c_str()));
}

int32_t TextoParaInteiro(const QString& ATexto) {
    // Done by hand because QString::toInt also takes surrounding blanks, which the file never
    // holds and which would hide a damaged line.
    const auto recusar = [&ATexto]() {
        return ESomadoError(
            Format("'%s' não é um número inteiro válido.", Utf8(TextoCitado(ATexto)).c_str()));
    };
    qsizetype i = 0;
    bool negativo = false;
    if (!ATexto.isEmpty() && (ATexto[0] == u'-' || ATexto[0] == u'+')) {
        negativo = ATexto[0] == u'-';
        ++i;
    }
    if (i == ATexto.size()) throw recusar();
    // The negative side reaches one further than the positive one.
    const int64_t limite = negativo ? int64_t{INT32_MAX} + 1 : int64_t{INT32_MAX};
    int64_t valor = 0;
    for (; i < ATexto.size(); ++i) {
        if (!DigitoAscii(ATexto[i])) throw recusar();
        valor = valor * 10 + (ATexto[i].unicode() - u'0');
        if (valor > limite) throw recusar();
    }
    return static_cast<int32_t>(negativo ? -valor : valor);
}

int32_t LerValorCabecalho(const QString& ALinha, const QString& AChave) {
    const QString marca = AChave + u'=';
    const qsizetype posicao = ALinha.indexOf(marca);
    if (posicao < 0)
        throw ESomadoError(
            Format("Cabeçalho .smd inválido — falta \"%s=\".", Utf8(AChave).c_str()));
    const qsizetype inicio = posicao + marca.size();
    qsizetype fim = inicio;
    while (fim < ALinha.size() && DigitoAscii(ALinha[fim]))
        ++fim;
    // A sign is not taken: the header never holds negative numbers, and "-1" must not pass
    // as a level.
    if (fim == inicio)
        throw ESomadoError(
            Format("Cabeçalho .smd inválido — valor de \"%s\" vazio.", Utf8(AChave).c_str()));
    return TextoParaInteiro(ALinha.sliced(inicio, fim - inicio));
}

QStringList LinhasDoPuzzle(const TSomadoBoard& ABoard) {
    const int32_t n = ABoard.Size();
    QStringList linhas;
    linhas.reserve(5 * n + 7);
    linhas << QString::fromStdString(Format("[SOMADO tamanho=%d dificuldade=%d score=%d]", n,
                                            static_cast<int>(ABoard.Difficulty()),
                                            ABoard.DifficultyScore()));
    EscreverSeccao(linhas, ABoard, CSeccaoTipo, [](const TSomadoCell& cell) {
        return QString::fromStdString(LetraDoTipo(cell.CellType));
    });
    EscreverSeccao(linhas, ABoard, CSeccaoRightSum,
                   [](const TSomadoCell& cell) { return QString::number(cell.RightSum); });
    EscreverSeccao(linhas, ABoard, CSeccaoDownSum,
                   [](const TSomadoCell& cell) { return QString::number(cell.DownSum); });
    EscreverSeccao(linhas, ABoard, CSeccaoValue,
                   [](const TSomadoCell& cell) { return QString::number(cell.Value); });
    EscreverSeccao(linhas, ABoard, CSeccaoSolution,
                   [](const TSomadoCell& cell) { return QString::number(cell.Solution); });
    linhas << QString::fromLatin1(CTerminador);
    return linhas;
}

QByteArray TextoDoPuzzle(const TSomadoBoard& ABoard) {
    QByteArray texto;
    for (const QString& linha : LinhasDoPuzzle(ABoard)) {
        texto += linha.toLatin1();
        texto += "\r\n";
    }
    return texto;
}

void GravarFicheiroPuzzle(const QString& ACaminho, const TSomadoBoard& ABoard) {
    GravarFicheiroInteiro(ACaminho, TextoDoPuzzle(ABoard));
}

QStringList LinhasDoTexto(const QByteArray& ABytes) {
    TCortadorDeLinhas cortador(DecodificarTexto(ABytes));
    QStringList linhas;
    QString linha;
    while (cortador.Proxima(linha))
        linhas << linha;
    return linhas;
}

std::unique_ptr<TSomadoBoard> LerPuzzle(const QStringList& ALinhas) {
    qsizetype proxima = 0;
    return LerPuzzleDe([&ALinhas, &proxima](QString& ALinha) {
        if (proxima >= ALinhas.size()) return false;
        ALinha = ALinhas[proxima++];
        return true;
    });
}

std::unique_ptr<TSomadoBoard> LerPuzzleDoTexto(const QByteArray& ABytes) {
    auto cortador = std::make_shared<TCortadorDeLinhas>(DecodificarTexto(ABytes));
    return LerPuzzleDe([cortador](QString& ALinha) { return cortador->Proxima(ALinha); });
}

namespace {

std::unique_ptr<TSomadoBoard> LerPuzzleDe(TFonteDeLinhas AFonte) {
    TLeitorPuzzle leitor(std::move(AFonte));
    const QString cabecalho = leitor.LerLinha();
    const int32_t tamanho = LerValorCabecalho(cabecalho, QStringLiteral("tamanho"));
    const int32_t dificuldade = LerValorCabecalho(cabecalho, QStringLiteral("dificuldade"));
    const int32_t score = LerValorCabecalho(cabecalho, QStringLiteral("score"));

    auto board = std::make_unique<TSomadoBoard>(tamanho);
    if (dificuldade < static_cast<int32_t>(TNivelDificuldade::ndFacil) ||
        dificuldade > static_cast<int32_t>(TNivelDificuldade::ndMuitoDificil))
        throw ESomadoError(
            Format("Cabeçalho .smd inválido — dificuldade=%d fora do intervalo.", dificuldade));

    leitor.LerSeccao(*board, CSeccaoTipo, [](TSomadoCell& cell, const QString& valor) {
        cell.CellType = TipoDaLetra(valor);
    });
    leitor.LerSeccao(*board, CSeccaoRightSum, [](TSomadoCell& cell, const QString& valor) {
        cell.RightSum = SomaJogavel(valor);
    });
    leitor.LerSeccao(*board, CSeccaoDownSum, [](TSomadoCell& cell, const QString& valor) {
        cell.DownSum = SomaJogavel(valor);
    });
    // Marks of an earlier check are not saved; a loaded digit starts unjudged.
    leitor.LerSeccao(*board, CSeccaoValue, [](TSomadoCell& cell, const QString& valor) {
        cell.Value = DigitoJogavel(cell, valor, false);
        cell.DisplayState = TCellDisplayState::cdsNormal;
    });
    leitor.LerSeccao(*board, CSeccaoSolution, [](TSomadoCell& cell, const QString& valor) {
        cell.Solution = DigitoJogavel(cell, valor, true);
    });

    // The trailer and anything after it are left unread, so a file that lost its last line
    // in a copy still opens.
    board->SetDifficulty(static_cast<TNivelDificuldade>(dificuldade));
    board->SetDifficultyScore(score);
    return board;
}

} // namespace

namespace {

QByteArray ResumoDosBytes(const QByteArray& ABytes) {
    if (ABytes.size() > CMaximoParaResumo) return {};
    return QCryptographicHash::hash(ABytes, QCryptographicHash::Sha256);
}

// A digest of a regular file's content; empty for anything else (a FIFO would block the
// reading), for a file too large, or one that cannot be read.
QByteArray ResumoDoConteudo(const QFileInfo& AInfo) {
    if (!AInfo.isFile() || AInfo.size() > CMaximoParaResumo) return {};
    QFile ficheiro(AInfo.absoluteFilePath());
    if (!ficheiro.open(QIODevice::ReadOnly) || ficheiro.isSequential()) return {};
    QCryptographicHash resumo(QCryptographicHash::Sha256);
    if (!resumo.addData(&ficheiro)) return {};
    return resumo.result();
}

QString CaminhoDoNome(const QString& ACaminho) {
    return QDir::cleanPath(QFileInfo(ACaminho).absoluteFilePath());
}

// The name's part of an identity; what the name leads to comes from the caller.
TIdentidadeFicheiro IdentidadeDoNome(const QString& ACaminho, const QFileInfo& AInfo) {
    TIdentidadeFicheiro identidade;
    identidade.Caminho = AInfo.canonicalFilePath();
    identidade.CaminhoDoNome = CaminhoDoNome(ACaminho);
    return identidade;
}

#ifdef Q_OS_UNIX
void NumerarComo(TIdentidadeFicheiro& AIdentidade, const struct stat& AEstado) {
    AIdentidade.Dispositivo = static_cast<quint64>(AEstado.st_dev);
    AIdentidade.NumeroDoFicheiro = static_cast<quint64>(AEstado.st_ino);
}
#endif

// The file the name leads to now (links followed); left at 0 where that cannot be told.
void NumerarPeloNome(TIdentidadeFicheiro& AIdentidade, const QString& ACaminho) {
#ifdef Q_OS_UNIX
    struct stat estado {};
    if (::stat(QFile::encodeName(ACaminho).constData(), &estado) == 0)
        NumerarComo(AIdentidade, estado);
#else
    // Windows gives no file number through the C library's stat (st_ino is always 0): where
    // the name leads, size, time and content are all that is compared there.
    Q_UNUSED(AIdentidade);
    Q_UNUSED(ACaminho);
#endif
}

// The file actually open, which the name may no longer lead to.
void NumerarPeloAberto(TIdentidadeFicheiro& AIdentidade, QFile& AFicheiro) {
#ifdef Q_OS_UNIX
    struct stat estado {};
    if (::fstat(AFicheiro.handle(), &estado) == 0) NumerarComo(AIdentidade, estado);
#else
    Q_UNUSED(AIdentidade);
    Q_UNUSED(AFicheiro);
#endif
}

// AIdentidade, when given, receives the file as read: size, time and number from the open
// file rather than the name, which another program may have given to a new file meanwhile.
QByteArray LerBytesDoFicheiro(const QString& ACaminho, TIdentidadeFicheiro* AIdentidade = nullptr) {
    const auto falha = [&ACaminho](const QString& AMotivo) {
        return ESomadoError(Format("Não foi possível ler o ficheiro \"%s\": %s",
                                   Utf8(NomeSemPasta(ACaminho)).c_str(), Utf8(AMotivo).c_str()));
    };
    const QString demasiadoGrande =
        QStringLiteral("é demasiado grande para ser um puzzle (mais de %1 MB)")
            .arg(CTamanhoMaximoFicheiro / (1024 * 1024));
    // Looked at before opening: opening a FIFO waits for a writer, and a device such as
    // /dev/zero never ends.
    const QFileInfo info(ACaminho);
    if (!info.isFile()) throw falha(MotivoDaLeitura(ACaminho));
    if (info.size() > CTamanhoMaximoFicheiro) throw falha(demasiadoGrande);
    QFile ficheiro(ACaminho);
    if (!ficheiro.open(QIODevice::ReadOnly)) throw falha(MotivoDaLeitura(ACaminho));
    // Something else may have taken the name since it was looked at.
    if (ficheiro.isSequential()) throw falha(MotivoDaLeitura(ACaminho));
    const QByteArray bytes = ficheiro.read(CTamanhoMaximoFicheiro + 1);
    if (ficheiro.error() != QFileDevice::NoError)
        throw falha(QStringLiteral("erro de leitura no disco"));
    if (bytes.size() > CTamanhoMaximoFicheiro) throw falha(demasiadoGrande);
    if (AIdentidade) {
        *AIdentidade = IdentidadeDoNome(ACaminho, info);
        NumerarPeloAberto(*AIdentidade, ficheiro);
        AIdentidade->Tamanho = ficheiro.size();
        AIdentidade->Modificado = ficheiro.fileTime(QFileDevice::FileModificationTime);
        AIdentidade->Resumo = ResumoDosBytes(bytes);
    }
    return bytes;
}

constexpr const char* CSeccaoNotas = "[NOTAS]";
constexpr const char* CChaveTempo = "TEMPO=";

QString AvisoDasNotas() {
    return QStringLiteral("As notas guardadas não puderam ser lidas e foram deixadas de fora.");
}

QString AvisoDoTempo() {
    return QStringLiteral("O tempo de jogo guardado não pôde ser lido e recomeça do zero.");
}

// The first line after the board's last row: header, five titled sections of ALado rows.
qsizetype LinhasDoTabuleiro(int32_t ALado) {
    return 1 + 5 * (static_cast<qsizetype>(ALado) + 1);
}

bool LerNotasDaLinha(const QString& ALinha, int32_t ALado, uint16_t* ADestino) {
    const QStringList valores = ALinha.split(u' ');
    if (valores.size() != ALado) return false;
    for (int32_t c = 0; c < ALado; ++c) {
        bool ok = false;
        const uint v = valores[c].toUInt(&ok);
        if (!ok || (v & ~static_cast<uint>(CTodasAsNotas)) != 0) return false;
        ADestino[c] = static_cast<uint16_t>(v);
    }
    return true;
}

// Digits only, as the writer puts them, up to CTempoMaximoMs: a sign, a blank or a larger
// number is not a time this program wrote.
bool LerTempoDaLinha(const QString& ALinha, int64_t& ATempo) {
    const QStringView valor = QStringView(ALinha).sliced(qstrlen(CChaveTempo));
    if (valor.isEmpty()) return false;
    int64_t tempo = 0;
    for (const QChar caracter : valor) {
        if (!DigitoAscii(caracter)) return false;
        tempo = tempo * 10 + (caracter.unicode() - u'0');
        if (tempo > CTempoMaximoMs) return false;
    }
    ATempo = tempo;
    return true;
}

// The marks and the time are read apart, so that damage to one (a time written past the limit
// by an earlier version, a row edited by hand, a copy cut short) costs only that one.
TEstadoDoJogo LerEstadoDasLinhas(const QStringList& ALinhas, int32_t ALado) {
    TEstadoDoJogo estado;
    if (ALado <= 0 || ALado > 64) return estado;
    const qsizetype fimDoTabuleiro = LinhasDoTabuleiro(ALado);
    const qsizetype inicio = ALinhas.indexOf(QLatin1String(CSeccaoNotas), fimDoTabuleiro);
    // Looked for apart from the title, so that a lost title still leaves the time.
    qsizetype linhaTempo = -1;
    for (qsizetype i = inicio >= 0 ? inicio + 1 : fimDoTabuleiro; i < ALinhas.size(); ++i)
        if (ALinhas[i].startsWith(QLatin1String(CChaveTempo))) {
            linhaTempo = i;
            break;
        }
    if (inicio < 0 && linhaTempo < 0) return estado;

    // A time line anywhere but right after the last row means a row lost or one too many:
    // the rows that are there may then belong to other cells.
    const qsizetype depoisDasNotas = inicio + 1 + ALado;
    bool notasInteiras = inicio >= 0 && depoisDasNotas <= ALinhas.size() &&
                         (linhaTempo < 0 || linhaTempo == depoisDasNotas);
    std::vector<uint16_t> notas(static_cast<size_t>(ALado) * static_cast<size_t>(ALado));
    for (int32_t r = 0; notasInteiras && r < ALado; ++r)
        notasInteiras = LerNotasDaLinha(ALinhas[inicio + 1 + r], ALado, notas.data() + r * ALado);
    if (notasInteiras)
        estado.Notas = std::move(notas);
    else
        estado.Avisos << AvisoDasNotas();

    int64_t tempo = 0;
    if (linhaTempo >= 0 && LerTempoDaLinha(ALinhas[linhaTempo], tempo))
        estado.TempoMs = tempo;
    else
        estado.Avisos << AvisoDoTempo();
    return estado;
}

} // namespace

std::unique_ptr<TSomadoBoard> LerFicheiroPuzzle(const QString& ACaminho) {
    return LerPuzzleDoTexto(LerBytesDoFicheiro(ACaminho));
}

QStringList LinhasDoEstado(const TEstadoDoJogo& AEstado, int32_t ALado) {
    QStringList linhas;
    linhas << QString::fromLatin1(CSeccaoNotas);
    for (int32_t r = 0; r < ALado; ++r) {
        QStringList valores;
        for (int32_t c = 0; c < ALado; ++c) {
            const size_t i = static_cast<size_t>(r) * ALado + c;
            valores << QString::number(i < AEstado.Notas.size() ? AEstado.Notas[i] & CTodasAsNotas
                                                                : 0);
        }
        linhas << valores.join(u' ');
    }
    linhas << QString::fromLatin1(CChaveTempo) +
                  QString::number(std::clamp<int64_t>(AEstado.TempoMs, 0, CTempoMaximoMs));
    return linhas;
}

QByteArray TextoDoJogo(const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado) {
    QByteArray texto = TextoDoPuzzle(ABoard);
    for (const QString& linha : LinhasDoEstado(AEstado, ABoard.Size())) {
        texto += linha.toLatin1();
        texto += "\r\n";
    }
    return texto;
}

TIdentidadeFicheiro IdentidadeDoFicheiro(const QString& ACaminho) {
    const QFileInfo info(ACaminho);
    TIdentidadeFicheiro identidade = IdentidadeDoNome(ACaminho, info);
    // A name that leads to no file (none, or a link to nothing) records nothing.
    if (identidade.Caminho.isEmpty()) return {};
    NumerarPeloNome(identidade, ACaminho);
    identidade.Tamanho = info.size();
    identidade.Modificado = info.lastModified();
    identidade.Resumo = ResumoDoConteudo(info);
    return identidade;
}

bool AlteradoDesde(const TIdentidadeFicheiro& AIdentidade, const QString& ACaminho) {
    if (AIdentidade.Caminho.isEmpty()) return false;
    const QFileInfo info(ACaminho);
    // Nothing at all under the name: the file was deleted, and a save only brings it back.
    // A link to nothing is something: the save would create the file it points to.
    if (!info.exists() && !info.isSymLink()) return false;
    const QString canonico = info.canonicalFilePath();
    const bool mesmoFicheiro = !canonico.isEmpty() && canonico == AIdentidade.Caminho;
    // Under the identity's own name, leading anywhere else is a change: the save follows the
    // name into a file another program chose, such as the one a link put in the game's place
    // points to (a link put there, or one removed, always changes where the name leads).
    if (!mesmoFicheiro) return CaminhoDoNome(ACaminho) == AIdentidade.CaminhoDoNome;
    // Same path, yet another file: a folder on the way replaced, or a file renamed over it.
    // Even with the very same bytes it is not the file read here (it may have other hard
    // links, which the save would write into), so the player is asked.
    TIdentidadeFicheiro agora;
    NumerarPeloNome(agora, ACaminho);
    if (AIdentidade.NumeroDoFicheiro != 0 && agora.NumeroDoFicheiro != 0 &&
        (agora.Dispositivo != AIdentidade.Dispositivo ||
         agora.NumeroDoFicheiro != AIdentidade.NumeroDoFicheiro))
        return true;
    if (info.size() != AIdentidade.Tamanho || info.lastModified() != AIdentidade.Modificado)
        return true;
    return !AIdentidade.Resumo.isEmpty() && ResumoDoConteudo(info) != AIdentidade.Resumo;
}

TIdentidadeFicheiro GravarFicheiroJogo(const QString& ACaminho, const TSomadoBoard& ABoard,
                                       const TEstadoDoJogo& AEstado) {
    const QByteArray bytes = TextoDoJogo(ABoard, AEstado);
    GravarFicheiroInteiro(ACaminho, bytes);
    // The bytes just written are the content: reading them back would only cost time.
    const QFileInfo info(ACaminho);
    TIdentidadeFicheiro identidade = IdentidadeDoNome(ACaminho, info);
    NumerarPeloNome(identidade, ACaminho);
    identidade.Tamanho = info.size();
    identidade.Modificado = info.lastModified();
    identidade.Resumo = ResumoDosBytes(bytes);
    return identidade;
}

TEstadoDoJogo LerEstadoDoTexto(const QByteArray& ABytes, int32_t ALado) {
    return LerEstadoDasLinhas(LinhasDoTexto(ABytes), ALado);
}

std::unique_ptr<TSomadoBoard> LerFicheiroJogo(const QString& ACaminho, TEstadoDoJogo& AEstado,
                                              TIdentidadeFicheiro* AIdentidade) {
    TIdentidadeFicheiro identidade;
    const QByteArray bytes = LerBytesDoFicheiro(ACaminho, &identidade);
    auto board = LerPuzzleDoTexto(bytes);
    AEstado = LerEstadoDoTexto(bytes, board->Size());
    if (AIdentidade) *AIdentidade = std::move(identidade);
    return board;
}

// ---- A game kept while it is played

namespace {

constexpr const char* CSeccaoFicheiro = "[FICHEIRO]";
// The record's keys, in the order written; the reader takes them in that order only.
constexpr std::array<const char*, 7> CChavesDoFicheiro = {
    "CAMINHO=", "NOME=", "DISPOSITIVO=", "NUMERO=", "TAMANHO=", "MODIFICADO=", "RESUMO=",
};

QString AvisoDoFicheiroPerdido() {
    return QStringLiteral("Não foi possível saber a que ficheiro pertencia o jogo recuperado: "
                          "ao guardá-lo, escolha o nome.");
}

// Names may hold any character (a line end, a '=', bytes that are no UTF-8 on disk): they
// travel percent-encoded in UTF-8, which keeps the file ASCII like the rest of it.
QString NomeCodificado(const QString& ANome) {
    return QString::fromLatin1(ANome.toUtf8().toPercentEncoding());
}

bool LerNomeCodificado(QStringView AValor, QString& ANome) {
    for (const QChar caracter : AValor)
        if (caracter.unicode() > 0x7e || caracter.unicode() < 0x21) return false;
    const QByteArray bytes = QByteArray::fromPercentEncoding(AValor.toLatin1());
    auto decodificador = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    ANome = decodificador.decode(bytes);
    return !decodificador.hasError() && !ANome.isEmpty() && !ANome.contains(QChar(0));
}

// An optional '-' and 1 to 19 ASCII digits: nothing else, not even blanks.
bool LerNumero(QStringView AValor, qint64& ANumero) {
    const bool negativo = AValor.startsWith(u'-');
    const QStringView digitos = negativo ? AValor.sliced(1) : AValor;
    if (digitos.isEmpty() || digitos.size() > 18) return false;
    qint64 valor = 0;
    for (const QChar caracter : digitos) {
        if (!DigitoAscii(caracter)) return false;
        valor = valor * 10 + (caracter.unicode() - u'0');
    }
    ANumero = negativo ? -valor : valor;
    return true;
}

QStringList LinhasDoFicheiro(const TIdentidadeFicheiro& AFicheiro) {
    if (AFicheiro.Caminho.isEmpty()) return {};
    const QString valores[] = {
        NomeCodificado(AFicheiro.Caminho),
        NomeCodificado(AFicheiro.CaminhoDoNome.isEmpty() ? AFicheiro.Caminho
                                                         : AFicheiro.CaminhoDoNome),
        QString::number(AFicheiro.Dispositivo),
        QString::number(AFicheiro.NumeroDoFicheiro),
        QString::number(AFicheiro.Tamanho),
        QString::number(AFicheiro.Modificado.isValid() ? AFicheiro.Modificado.toMSecsSinceEpoch()
                                                       : -1),
        QString::fromLatin1(AFicheiro.Resumo.toHex()),
    };
    QStringList linhas{QString::fromLatin1(CSeccaoFicheiro)};
    for (size_t i = 0; i < CChavesDoFicheiro.size(); ++i)
        linhas << QString::fromLatin1(CChavesDoFicheiro[i]) + valores[i];
    return linhas;
}

// The record after the board, every key in its place and every value whole; false otherwise.
bool LerFicheiroDasLinhas(const QStringList& ALinhas, qsizetype AInicio,
                          TIdentidadeFicheiro& AFicheiro) {
    if (AInicio + 1 + static_cast<qsizetype>(CChavesDoFicheiro.size()) > ALinhas.size())
        return false;
    std::array<QStringView, CChavesDoFicheiro.size()> valores;
    for (size_t i = 0; i < CChavesDoFicheiro.size(); ++i) {
        const QString& linha = ALinhas[AInicio + 1 + static_cast<qsizetype>(i)];
        if (!linha.startsWith(QLatin1String(CChavesDoFicheiro[i]))) return false;
        valores[i] = QStringView(linha).sliced(qstrlen(CChavesDoFicheiro[i]));
    }
    TIdentidadeFicheiro ficheiro;
    qint64 dispositivo = 0, numero = 0, modificado = 0;
    if (!LerNomeCodificado(valores[0], ficheiro.Caminho) ||
        !LerNomeCodificado(valores[1], ficheiro.CaminhoDoNome) ||
        !LerNumero(valores[2], dispositivo) || dispositivo < 0 || !LerNumero(valores[3], numero) ||
        numero < 0 || !LerNumero(valores[4], ficheiro.Tamanho) || ficheiro.Tamanho < 0 ||
        !LerNumero(valores[5], modificado))
        return false;
    const QByteArray resumo = valores[6].toLatin1();
    const auto hexadecimal = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); };
    if (resumo.size() % 2 != 0 || !std::all_of(resumo.begin(), resumo.end(), hexadecimal))
        return false;
    ficheiro.Dispositivo = static_cast<quint64>(dispositivo);
    ficheiro.NumeroDoFicheiro = static_cast<quint64>(numero);
    if (modificado >= 0) ficheiro.Modificado = QDateTime::fromMSecsSinceEpoch(modificado);
    ficheiro.Resumo = QByteArray::fromHex(resumo);
    AFicheiro = std::move(ficheiro);
    return true;
}

} // namespace

QByteArray TextoDoJogoGuardado(const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado,
                               const TIdentidadeFicheiro& AFicheiro) {
    QByteArray texto = TextoDoJogo(ABoard, AEstado);
    for (const QString& linha : LinhasDoFicheiro(AFicheiro)) {
        texto += linha.toLatin1();
        texto += "\r\n";
    }
    return texto;
}

std::unique_ptr<TSomadoBoard> LerJogoGuardadoDoTexto(const QByteArray& ABytes,
                                                     TEstadoDoJogo& AEstado,
                                                     TIdentidadeFicheiro& AFicheiro) {
    auto board = LerPuzzleDoTexto(ABytes);
    const QStringList linhas = LinhasDoTexto(ABytes);
    AEstado = LerEstadoDasLinhas(linhas, board->Size());
    AFicheiro = {};
    const qsizetype inicio =
        linhas.indexOf(QLatin1String(CSeccaoFicheiro), LinhasDoTabuleiro(board->Size()));
    if (inicio >= 0 && !LerFicheiroDasLinhas(linhas, inicio, AFicheiro))
        AEstado.Avisos << AvisoDoFicheiroPerdido();
    return board;
}

std::unique_ptr<TSomadoBoard> LerJogoGuardado(const QString& ACaminho, TEstadoDoJogo& AEstado,
                                              TIdentidadeFicheiro& AFicheiro) {
    return LerJogoGuardadoDoTexto(LerBytesDoFicheiro(ACaminho), AEstado, AFicheiro);
}
