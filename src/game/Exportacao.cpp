#include "game/Exportacao.h"

#include "generator/UnitSomadoGenerator.h"
#include "io/GravacaoSegura.h"
#include "pdf/UnitSomadoPdf.h"

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

void ExportarPuzzle(IJanelaJogo& AJanela, const TSomadoBoard& ABoard) {
    QString caminho;
    if (!AJanela.EscolherFicheiroPdf(caminho) || !PodeSubstituir(AJanela, caminho)) return;
    ExportarPuzzlePdf(ABoard, caminho);
    AJanela.LimparInformacao();
    AJanela.AdicionarInformacao(QStringLiteral("Puzzle exportado: ") + NomeSemPasta(caminho));
}

namespace {

// Marks a batch as running, with the window's batch mode, and gives both back on every way out
// of it, an error included.
class TLoteEmCurso {
public:
    TLoteEmCurso(IJanelaJogo& AJanela, bool& AEmCurso, bool& AInterromper)
        : FJanela(AJanela), FEmCurso(AEmCurso) {
        FEmCurso = true;
        AInterromper = false;
        FJanela.ComecarLote();
    }
    ~TLoteEmCurso() { Terminar(); }
    TLoteEmCurso(const TLoteEmCurso&) = delete;
    TLoteEmCurso& operator=(const TLoteEmCurso&) = delete;
    void Terminar() {
        if (!FEmCurso) return;
        FEmCurso = false;
        FJanela.TerminarLote();
    }

private:
    IJanelaJogo& FJanela;
    bool& FEmCurso;
};

} // namespace

TExportacaoLote::TExportacaoLote(IJanelaJogo& AJanela, const TGeradorDePuzzles& AGerador,
                                 const TConfiguracao& AConfiguracao, int32_t AThreads,
                                 bool& AEmCurso, bool& AInterromper)
    : FJanela(AJanela), FGerador(AGerador), FLote(AConfiguracao), FThreads(AThreads),
      FLado(LadoDoTabuleiro(AConfiguracao.TamanhoLote)), FEmCurso(AEmCurso),
      FInterromper(AInterromper) {}

bool TExportacaoLote::Progressivo() const {
    return FLote.ModoLote == TModoDificuldadeLote::mdlProgressivo;
}

TNivelDificuldade TExportacaoLote::NivelDoPuzzle(int32_t AIndice) const {
    return Progressivo() ? NivelProgressivo(AIndice, FLote.QuantidadeLote) : FLote.DificuldadeLote;
}

void TExportacaoLote::Executar() {
    QString caminho;
    if (!EscolherDestino(caminho) || !ConfirmarCombinacao()) return;
    // A place that cannot take the file fails now, not after minutes of generation.
    VerificarDestino(caminho);

    TResultado resultado;
    TLoteEmCurso emCurso(FJanela, FEmCurso, FInterromper);
    try {
        resultado = Gerar();
        if (FInterromper) {
            resultado.Tabuleiros.clear();
            emCurso.Terminar();
            Mostrar(QStringLiteral("Exportação do lote interrompida."));
            // The close that stopped the batch goes on, with its usual question.
            FJanela.Fechar();
            return;
        }
        if (resultado.Tabuleiros.empty()) {
            Mostrar(QStringLiteral(
                "Não foi possível gerar nenhum puzzle com esta configuração — PDF não criado."));
            return;
        }
        ExportarLotePdf(resultado.Tabuleiros, FLado, FLote.TituloLote, RotuloDaCapa(), caminho);
    } catch (...) {
        // No progress line may stay behind the error report.
        Mostrar(QStringLiteral("Não foi possível exportar o lote — PDF não criado."));
        throw;
    }

    const auto gerados = static_cast<int32_t>(resultado.Tabuleiros.size());
    resultado.Tabuleiros.clear();
    emCurso.Terminar();
    Mostrar(LinhaFinal(gerados, resultado.Falhados, caminho));
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

TPedidoLote TExportacaoLote::Pedido() const {
    TPedidoLote pedido;
    pedido.Tamanho = FLote.TamanhoLote;
    for (int32_t k = 0; k < FLote.QuantidadeLote; ++k)
        pedido.Niveis.push_back(NivelDoPuzzle(k));
    // The process-wide stream gives the batch its seed, and the seed every puzzle's stream.
    pedido.Semente = AleatorioDoProcesso().Proximo();
    pedido.Threads = FThreads;
    return pedido;
}

QString TExportacaoLote::LinhaDoProgresso(const TProgressoLote& AProgresso) const {
    return QStringLiteral("A gerar puzzle %1 de %2, %3 (tentativa %4 de %5)...")
        .arg(std::min(AProgresso.Concluidos + 1, FLote.QuantidadeLote))
        .arg(FLote.QuantidadeLote)
        .arg(NomeDoNivel(NivelDoPuzzle(AProgresso.Indice)))
        .arg(AProgresso.Tentativa)
        .arg(CTentativasPorPuzzleLote);
}

TExportacaoLote::TResultado TExportacaoLote::Gerar() {
    TPedidoLote pedido = Pedido();
    const QString primeira = LinhaDoProgresso(TProgressoLote{});
    Mostrar(primeira);
    TGeracaoLote geracao(FGerador, std::move(pedido));
    AcompanharProgresso(geracao, primeira);
    return Recolher(geracao);
}

void TExportacaoLote::AcompanharProgresso(TGeracaoLote& AGeracao, QString ALinhaMostrada) {
    for (bool primeira = true;; primeira = false) {
        // The first time the window paints the line it already has.
        if (const QString linha = LinhaDoProgresso(AGeracao.Progresso());
            !primeira && linha != ALinhaMostrada) {
            Mostrar(linha);
            ALinhaMostrada = linha;
        }
        FJanela.ProcessarEventos();
        // A close request came in with the events: the workers stop at their next check.
        if (FInterromper) AGeracao.Parar();
        if (AGeracao.Terminada()) return;
        AGeracao.Esperar(CIntervaloEventos);
    }
}

TExportacaoLote::TResultado TExportacaoLote::Recolher(TGeracaoLote& AGeracao) const {
    TResultado resultado;
    for (std::unique_ptr<TSomadoBoard>& board : AGeracao.Resultados()) {
        // A failed puzzle leaves no gap: the numbering runs over the generated ones.
        if (board)
            resultado.Tabuleiros.push_back(std::move(board));
        else if (!FInterromper)
            ++resultado.Falhados;
    }
    return resultado;
}

QString TExportacaoLote::RotuloDaCapa() const {
    return Progressivo() ? QStringLiteral("Progressivo") : NomeDoNivel(FLote.DificuldadeLote);
}

QString TExportacaoLote::LinhaFinal(int32_t AGerados, int32_t AFalhados,
                                    const QString& ACaminho) const {
    if (AFalhados == 0)
        return QStringLiteral("Lote exportado: %1 puzzles em %2")
            .arg(AGerados)
            .arg(NomeSemPasta(ACaminho));
    return QStringLiteral("Lote exportado: %1 puzzles (%2 falharam) em %3")
        .arg(AGerados)
        .arg(AFalhados)
        .arg(NomeSemPasta(ACaminho));
}

void TExportacaoLote::Mostrar(const QString& ALinha) {
    FJanela.LimparInformacao();
    FJanela.AdicionarInformacao(ALinha);
}
