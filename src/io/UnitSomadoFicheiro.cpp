#include "io/UnitSomadoFicheiro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>
#include <functional>

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

// Why a file could not be read or written, in the player's language (the system's own texts
// are English). The file system is asked again where the error code alone is too vague.
QString MotivoComum(QFileDevice::FileError AErro) {
    switch (AErro) {
    case QFileDevice::ReadError:
        return QStringLiteral("erro de leitura no disco");
    case QFileDevice::WriteError:
        return QStringLiteral("erro de escrita no disco (pode estar cheio)");
    case QFileDevice::ResourceError:
        return QStringLiteral("não há espaço ou recursos suficientes");
    case QFileDevice::PermissionsError:
        return QStringLiteral("sem permissão");
    case QFileDevice::RenameError:
    case QFileDevice::CopyError:
    case QFileDevice::RemoveError:
        return QStringLiteral("não foi possível substituir o ficheiro antigo");
    default:
        return QStringLiteral("erro inesperado do sistema de ficheiros");
    }
}

QString MotivoDaLeitura(const QString& ACaminho, QFileDevice::FileError AErro) {
    const QFileInfo info(ACaminho);
    if (!info.exists()) return QStringLiteral("o ficheiro não existe");
    if (info.isDir()) return QStringLiteral("é uma pasta, não um ficheiro");
    if (AErro == QFileDevice::OpenError) return QStringLiteral("sem permissão para o ler");
    return MotivoComum(AErro);
}

QString MotivoDaEscrita(const QString& ACaminho, QFileDevice::FileError AErro) {
    const QFileInfo info(ACaminho);
    if (ACaminho.isEmpty()) return QStringLiteral("falta o nome do ficheiro");
    if (info.isDir()) return QStringLiteral("já existe uma pasta com esse nome");
    if (!info.absoluteDir().exists()) return QStringLiteral("a pasta não existe");
    if (AErro == QFileDevice::OpenError)
        return QStringLiteral("sem permissão para escrever nessa pasta");
    return MotivoComum(AErro);
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

// Takes the cell, changes one field from the text value; the section reader writes it back.
using TAlteradorCelula = std::function<void(TSomadoCell&, const QString&)>;

class TLeitorPuzzle {
public:
    explicit TLeitorPuzzle(const QStringList& ALinhas) : FLinhas(ALinhas) {}

    QString LerLinha() {
        if (FProxima >= FLinhas.size())
            throw ESomadoError("Ficheiro .smd truncado — faltam linhas.");
        return FLinhas[FProxima++];
    }

    void LerSeccao(TSomadoBoard& ABoard, const char* ANome, const TAlteradorCelula& AAlterar) {
        const QString titulo = LerLinha();
        if (titulo != QLatin1String(ANome))
            throw ESomadoError(
                Format("Ficheiro .smd com a estrutura errada — esperava \"%s\", encontrei \"%s\".",
                       ANome, Utf8(titulo).c_str()));
        const int32_t n = ABoard.Size();
        for (int32_t r = 0; r < n; ++r) {
            const QString linha = LerLinha();
            // Every space separates two values, so doubled or trailing spaces give empty
            // values that the conversion then refuses with the value's own message.
            const QStringList valores = linha.isEmpty() ? QStringList{} : linha.split(u' ');
            if (valores.size() != n)
                throw ESomadoError(
                    Format("Ficheiro .smd inválido — a linha %d de \"%s\" não tem %d valores.", r,
                           ANome, n));
            for (int32_t c = 0; c < n; ++c) {
                TSomadoCell cell = ABoard.GetCell(r, c);
                AAlterar(cell, valores[c]);
                ABoard.SetCell(r, c, cell);
            }
        }
    }

private:
    const QStringList& FLinhas;
    qsizetype FProxima = 0;
};

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
    throw ESomadoError(
        Format("Carácter de tipo de célula desconhecido: \"%s\".", Utf8(ALetra).c_str()));
}

int32_t TextoParaInteiro(const QString& ATexto) {
    // Done by hand because QString::toInt also takes surrounding blanks, which the file never
    // holds and which would hide a damaged line.
    const auto recusar = [&ATexto]() {
        return ESomadoError(Format("'%s' is not a valid integer value", Utf8(ATexto).c_str()));
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

QString NomeSemPasta(const QString& ACaminho) {
    return QFileInfo(ACaminho).fileName();
}

void GravarFicheiroPuzzle(const QString& ACaminho, const TSomadoBoard& ABoard) {
    GravarFicheiroInteiro(ACaminho, TextoDoPuzzle(ABoard));
}

void GravarFicheiroInteiro(const QString& ACaminho, const QByteArray& ABytes) {
    QSaveFile ficheiro(ACaminho);
    const auto falha = [&ACaminho](const QString& AMotivo) {
        return ESomadoError(Format("Não foi possível gravar o ficheiro \"%s\": %s",
                                   Utf8(NomeSemPasta(ACaminho)).c_str(), Utf8(AMotivo).c_str()));
    };
    if (!ficheiro.open(QIODevice::WriteOnly))
        throw falha(MotivoDaEscrita(ACaminho, ficheiro.error()));
    if (ficheiro.write(ABytes) != ABytes.size()) {
        // Keep the reason: cancelling replaces it with its own.
        const QFileDevice::FileError erro = ficheiro.error();
        ficheiro.cancelWriting();
        throw falha(MotivoDaEscrita(ACaminho, erro));
    }
    // Without commit the destructor throws the temporary file away; the old file stays.
    if (!ficheiro.commit()) throw falha(MotivoDaEscrita(ACaminho, ficheiro.error()));
}

QStringList LinhasDoTexto(const QByteArray& ABytes) {
    const QString texto = DecodificarTexto(ABytes);
    QStringList linhas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar ch = texto[i];
        if (ch != u'\r' && ch != u'\n') continue;
        linhas << texto.sliced(inicio, i - inicio);
        if (ch == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') ++i;
        inicio = i + 1;
    }
    // A last line without its line end still counts; a final line end adds no empty line.
    if (inicio < texto.size()) linhas << texto.sliced(inicio);
    return linhas;
}

std::unique_ptr<TSomadoBoard> LerPuzzle(const QStringList& ALinhas) {
    TLeitorPuzzle leitor(ALinhas);
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
        cell.RightSum = TextoParaInteiro(valor);
    });
    leitor.LerSeccao(*board, CSeccaoDownSum, [](TSomadoCell& cell, const QString& valor) {
        cell.DownSum = TextoParaInteiro(valor);
    });
    // Marks of an earlier check are not saved; a loaded digit starts unjudged.
    leitor.LerSeccao(*board, CSeccaoValue, [](TSomadoCell& cell, const QString& valor) {
        cell.Value = TextoParaInteiro(valor);
        cell.DisplayState = TCellDisplayState::cdsNormal;
    });
    leitor.LerSeccao(*board, CSeccaoSolution, [](TSomadoCell& cell, const QString& valor) {
        cell.Solution = TextoParaInteiro(valor);
    });

    // The trailer and anything after it are left unread, so a file that lost its last line
    // in a copy still opens.
    board->SetDifficulty(static_cast<TNivelDificuldade>(dificuldade));
    board->SetDifficultyScore(score);
    return board;
}

std::unique_ptr<TSomadoBoard> LerFicheiroPuzzle(const QString& ACaminho) {
    QFile ficheiro(ACaminho);
    const auto falha = [&ACaminho, &ficheiro]() {
        return ESomadoError(Format("Não foi possível ler o ficheiro \"%s\": %s",
                                   Utf8(NomeSemPasta(ACaminho)).c_str(),
                                   Utf8(MotivoDaLeitura(ACaminho, ficheiro.error())).c_str()));
    };
    if (!ficheiro.open(QIODevice::ReadOnly)) throw falha();
    const QByteArray bytes = ficheiro.readAll();
    if (ficheiro.error() != QFileDevice::NoError) throw falha();
    return LerPuzzle(LinhasDoTexto(bytes));
}
