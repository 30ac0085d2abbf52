#include "game/Exportacao.h"

#include "generator/UnitSomadoGenerator.h"
#include "io/GravacaoSegura.h"
#include "pdf/UnitSomadoPdf.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

TNivelDificuldade NivelProgressivo(int32_t k, int32_t n) {
    const int32_t q = n / 4, r = n % 4;
    int32_t fim = 0;
    for (int32_t bloco = 0; bloco < 4; ++bloco) {
        fim += q + (bloco < r ? 1 : 0);
        if (k < fim) return static_cast<TNivelDificuldade>(bloco);
    }
    return TNivelDificuldade::ndMuitoDificil;
}

QString CodigoLote(TModoDificuldadeLote AModo, TNivelDificuldade ANivel) {
    if (AModo == TModoDificuldadeLote::mdlProgressivo) return QStringLiteral("P");
    switch (ANivel) {
    case TNivelDificuldade::ndFacil:
        return QStringLiteral("F");
    case TNivelDificuldade::ndMedio:
        return QStringLiteral("M");
    case TNivelDificuldade::ndDificil:
        return QStringLiteral("D");
    default:
        return QStringLiteral("MD");
    }
}

namespace {

// The path as the file system will see it: absolute and clean, links resolved in whatever part
// of it exists already.
QString CaminhoResolvido(const QString& ACaminho) {
    const QFileInfo info(ACaminho);
    if (info.exists()) return info.canonicalFilePath();
    const QString pasta = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((pasta.isEmpty() ? info.absolutePath() : pasta) + u'/' +
                           info.fileName());
}

} // namespace

bool MesmoFicheiro(const QString& A, const QString& B) {
    if (A.isEmpty() || B.isEmpty()) return false;
#ifdef _WIN32
    constexpr Qt::CaseSensitivity CCaso = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity CCaso = Qt::CaseSensitive;
#endif
    return CaminhoResolvido(A).compare(CaminhoResolvido(B), CCaso) == 0;
}

void RecusarSeReservado(const QString& ACaminho, const QString& AReservado) {
    if (MesmoFicheiro(ACaminho, AReservado))
        throw ESomadoError(QStringLiteral("O lote em curso vai gravar \"%1\" quando terminar: "
                                          "escolha outro nome.")
                               .arg(NomeSemPasta(ACaminho))
                               .toStdString());
}

bool ExportarPuzzle(IJanelaJogo& AJanela, const TSomadoBoard& ABoard, QString& ACaminho,
                    const QString& AReservado) {
    if (!AJanela.EscolherFicheiroPdf(ACaminho)) return false;
    RecusarSeReservado(ACaminho, AReservado);
    if (!PodeSubstituir(AJanela, ACaminho)) return false;
    ExportarPuzzlePdf(ABoard, ACaminho);
    return true;
}

TExportacaoLote::TExportacaoLote(IJanelaJogo& AJanela, const TConfiguracao& AConfiguracao,
                                 int32_t AThreads)
    : FJanela(AJanela), FLote(AConfiguracao), FThreads(AThreads),
      FLado(LadoDoTabuleiro(AConfiguracao.TamanhoLote)) {}

bool TExportacaoLote::Progressivo() const {
    return FLote.ModoLote == TModoDificuldadeLote::mdlProgressivo;
}

TNivelDificuldade TExportacaoLote::NivelDoPuzzle(int32_t AIndice) const {
    return Progressivo() ? NivelProgressivo(AIndice, FLote.QuantidadeLote) : FLote.DificuldadeLote;
}

std::optional<TPedidoLote> TExportacaoLote::Preparar() const {
    if (!EscolherDestino(FCaminho) || !ConfirmarCombinacao()) return std::nullopt;
    VerificarDestino(FCaminho);
    TPedidoLote pedido;
    pedido.Tamanho = FLote.TamanhoLote;
    for (int32_t k = 0; k < FLote.QuantidadeLote; ++k)
        pedido.Niveis.push_back(NivelDoPuzzle(k));
    // The process-wide stream gives the batch its seed, and the seed every puzzle's stream.
    pedido.Semente = AleatorioDoProcesso().Proximo();
    pedido.Threads = FThreads;
    return pedido;
}

QString TExportacaoLote::Concluir(TTrabalho& ATrabalho,
                                  const std::function<void(const QString&)>& AMostrar) {
    std::vector<std::unique_ptr<TSomadoBoard>> tabuleiros;
    int32_t falhados = 0;
    try {
        for (std::unique_ptr<TSomadoBoard>& board : ATrabalho.Resultados()) {
            // A failed puzzle leaves no gap: the numbering runs over the generated ones.
            if (board)
                tabuleiros.push_back(std::move(board));
            else
                ++falhados;
        }
        if (tabuleiros.empty())
            return QStringLiteral(
                "Não foi possível gerar nenhum puzzle com esta configuração — PDF não criado.");
        ExportarLotePdf(tabuleiros, FLado, FLote.TituloLote, RotuloDaCapa(), FCaminho);
    } catch (...) {
        // No progress line may stay behind the error report.
        AMostrar(QStringLiteral("Não foi possível exportar o lote — PDF não criado."));
        throw;
    }
    return LinhaFinal(static_cast<int32_t>(tabuleiros.size()), falhados);
}

bool TExportacaoLote::EscolherDestino(QString& ACaminho) const {
    const QString proposto = QStringLiteral("Somado_%1_%2x%2_%3")
                                 .arg(CodigoLote(FLote.ModoLote, FLote.DificuldadeLote))
                                 .arg(FLado)
                                 .arg(FLote.QuantidadeLote);
    return FJanela.EscolherFicheiroLotePdf(proposto, ACaminho) && PodeSubstituir(FJanela, ACaminho);
}

bool TExportacaoLote::ConfirmarCombinacao() const {
    // A progressive batch is never warned about.
    if (Progressivo()) return true;
    const std::vector<TNivelDificuldade> seguros = NiveisSeguros(FLote.TamanhoLote);
    if (std::find(seguros.begin(), seguros.end(), FLote.DificuldadeLote) != seguros.end())
        return true;
    return FJanela.Perguntar(
               QStringLiteral("A combinação %1x%1 / %2 não é conhecida por gerar sempre com "
                              "sucesso.\r\nIsto pode demorar bastante, e alguns puzzles podem "
                              "não sair. Avançar mesmo assim?")
                   .arg(FLado)
                   .arg(NomeDoNivel(FLote.DificuldadeLote)),
               false) == TResposta::Sim;
}

QString TExportacaoLote::LinhaDoProgresso(const TProgressoLote& AProgresso) const {
    return QStringLiteral("A gerar puzzle %1 de %2, %3 (tentativa %4 de %5)...")
        .arg(std::min(AProgresso.Concluidos + 1, FLote.QuantidadeLote))
        .arg(FLote.QuantidadeLote)
        .arg(NomeDoNivel(NivelDoPuzzle(AProgresso.Indice)))
        .arg(AProgresso.Tentativa)
        .arg(CTentativasPorPuzzleLote);
}

QString TExportacaoLote::RotuloDaCapa() const {
    return Progressivo() ? QStringLiteral("Progressivo") : NomeDoNivel(FLote.DificuldadeLote);
}

QString TExportacaoLote::LinhaFinal(int32_t AGerados, int32_t AFalhados) const {
    if (AFalhados == 0)
        return QStringLiteral("Lote exportado: %1 puzzles em %2")
            .arg(AGerados)
            .arg(NomeSemPasta(FCaminho));
    return QStringLiteral("Lote exportado: %1 puzzles (%2 falharam) em %3")
        .arg(AGerados)
        .arg(AFalhados)
        .arg(NomeSemPasta(FCaminho));
}
