// "Imprimir" through the game, with a recording window: what the dialog is shown, and what the
// game makes of a print, a cancel and a printer's failure.
#include "FixtureJogo.h"

namespace {

using C = TConteudoImpressao;
using E = TEstadoImpressao;

class Imprimir : public Jogo {
protected:
    void SetUp() override {
        Jogo::SetUp();
        Iniciar();
        Escrever(1, 1, '9');
        janela.Informacao = {QStringLiteral("antes")};
    }
    // Every cell of the board the dialog was shown equals the game's board now.
    void ComoOTabuleiro(const TSomadoBoard& AMostrado) const {
        ASSERT_EQ(AMostrado.Size(), jogo.Board()->Size());
        for (int32_t r = 0; r < AMostrado.Size(); ++r)
            for (int32_t c = 0; c < AMostrado.Size(); ++c)
                EXPECT_EQ(AMostrado.GetCell(r, c), Celula(r, c)) << r << "," << c;
    }
};

} // namespace

TEST_F(Imprimir, APrintIsReportedByWhatWentWhere) {
    const struct {
        C conteudo;
        const char* linha;
    } casos[] = {
        {C::ComoEsta, "Puzzle impresso em \"PDF\"."},
        {C::EmBranco, "Cópia em branco impressa em \"PDF\"."},
        {C::ComSolucao, "Puzzle e solução impressos em \"PDF\"."},
    };
    for (const auto& caso : casos) {
        janela.ResultadoImpressao = {E::Impressa, caso.conteudo, QStringLiteral("PDF"), 1, {}};
        jogo.Executar(TComando::Imprimir);
        ASSERT_FALSE(janela.Impressos.empty());
        // The dialog gets the board with the player's digit, as it stands.
        ComoOTabuleiro(janela.Impressos.back());
        EXPECT_EQ(janela.Impressos.back().GetCell(1, 1).Value, 9);
        EXPECT_EQ(janela.Informacao, QStringList{QString::fromUtf8(caso.linha)});
    }
    EXPECT_EQ(janela.Impressos.size(), 3u);
    EXPECT_TRUE(janela.Erros.isEmpty());
    // Printing is no save: the digit is still unsaved.
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
}

TEST_F(Imprimir, CancellingChangesNothing) {
    const TSomadoBoard antes = *jogo.Board();
    const size_t mudancas = janela.Mudancas.size();
    janela.ResultadoImpressao = {};
    jogo.Executar(TComando::Imprimir);
    EXPECT_EQ(janela.Impressos.size(), 1u);
    EXPECT_EQ(janela.Informacao, QStringList{"antes"});
    EXPECT_TRUE(janela.Erros.isEmpty());
    EXPECT_EQ(janela.Mudancas.size(), mudancas) << "nothing to redraw";
    ComoOTabuleiro(antes);
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
}

TEST_F(Imprimir, APrinterFailureIsReportedAndLosesNothing) {
    const TSomadoBoard antes = *jogo.Board();
    const QString razao = QStringLiteral("A impressora \"PDF\" não está pronta.");
    janela.ResultadoImpressao = {E::Falhou, C::ComSolucao, {}, 0, razao};
    jogo.Executar(TComando::Imprimir);
    ASSERT_EQ(janela.Erros.size(), 1);
    EXPECT_TRUE(janela.Erros[0].startsWith("Não foi possível imprimir."))
        << janela.Erros[0].toStdString();
    EXPECT_TRUE(janela.Erros[0].contains(razao));
    EXPECT_EQ(janela.Informacao, QStringList{"antes"});
    ComoOTabuleiro(antes);
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
    // And the next print goes through.
    janela.ResultadoImpressao = {E::Impressa, C::ComoEsta, QStringLiteral("PDF"), 1, {}};
    jogo.Executar(TComando::Imprimir);
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle impresso em \"PDF\"."});
}

// Printing only reads the board: no long work and no pause holds it back.
TEST(ImprimirRecusado, NeverRefused) {
    for (const TOcupacao ocupacao : {TOcupacao::Livre, TOcupacao::AGerar, TOcupacao::EmLote})
        EXPECT_FALSE(ComandoRecusado(TComando::Imprimir, ocupacao));
    EXPECT_FALSE(ComandoParadoNaPausa(TComando::Imprimir));
}
