#include "game/Jogadas.h"

#include "game/AjudasRegras.h"
#include "generator/UnitSomadoGenerator.h"

#include <utility>
#include <vector>

namespace Jogadas {

namespace {

bool NoTabuleiro(const TEstadoJogo& AEstado, int32_t ARow, int32_t ACol) {
    const TSomadoBoard* board = AEstado.Board.get();
    return board && ARow >= 0 && ACol >= 0 && ARow < board->Size() && ACol < board->Size();
}

bool VaziaBranca(const TEstadoJogo& AEstado, int32_t ARow, int32_t ACol) {
    return PodeSeleccionar(AEstado, ARow, ACol) && AEstado.Board->GetCell(ARow, ACol).Value == 0;
}

void EscreverValor(TSomadoBoard& ABoard, int32_t ARow, int32_t ACol, int32_t AValor) {
    TSomadoCell cell = ABoard.GetCell(ARow, ACol);
    cell.Value = AValor;
    cell.DisplayState = TCellDisplayState::cdsNormal;
    ABoard.SetCell(ARow, ACol, cell);
}

// Places ADigito in (ARow, ACol) as one step of the history, taking that digit off the marks
// of the other cells of its two runs.
void ColocarDigito(TEstadoJogo& AEstado, int32_t ARow, int32_t ACol, int32_t ADigito) {
    TSomadoBoard& board = *AEstado.Board;
    TPassoHistorico passo;
    if (const int32_t antes = board.GetCell(ARow, ACol).Value; antes != ADigito)
        passo.Mudancas.push_back({ARow, ACol, antes, ADigito});
    passo.Notas = AEstado.Notas.RetiradasPor(board, ARow, ACol, ADigito);
    AEstado.Notas.Aplicar(passo.Notas, false);
    AEstado.Historico.Registar(std::move(passo));
    EscreverValor(board, ARow, ACol, ADigito);
}

// The white cell after (APasso 1) or before (-1) the current one in reading order, round
// the board.
bool BrancaSeguinte(const TEstadoJogo& AEstado, int32_t APasso, int32_t& ARow, int32_t& ACol) {
    if (!AEstado.Board) return false;
    const int32_t n = AEstado.Board->Size(), total = n * n;
    const int32_t inicio = AEstado.Cursor.Row * n + AEstado.Cursor.Col;
    for (int32_t k = 1; k <= total; ++k) {
        const int32_t i = ((inicio + APasso * k) % total + total) % total;
        if (PodeSeleccionar(AEstado, i / n, i % n)) {
            ARow = i / n;
            ACol = i % n;
            return true;
        }
    }
    return false;
}

bool EscolherVaziaAoAcaso(const TEstadoJogo& AEstado, int32_t& ARow, int32_t& ACol) {
    std::vector<std::pair<int32_t, int32_t>> vazias;
    const int32_t n = AEstado.Board->Size();
    for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 0; c < n; ++c)
            if (VaziaBranca(AEstado, r, c)) vazias.emplace_back(r, c);
    if (vazias.empty()) return false;
    const auto escolhida =
        vazias[static_cast<size_t>(Aleatorio(static_cast<int32_t>(vazias.size())))];
    ARow = escolhida.first;
    ACol = escolhida.second;
    return true;
}

// Writes the step's digits and marks (before or after) back and selects its cell.
uint32_t AplicarPasso(TEstadoJogo& AEstado, const TPassoHistorico& APasso, bool AAntes) {
    for (const TMudancaDigito& m : APasso.Mudancas)
        if (NoTabuleiro(AEstado, m.Row, m.Col))
            EscreverValor(*AEstado.Board, m.Row, m.Col, AAntes ? m.Antes : m.Depois);
    AEstado.Notas.Aplicar(APasso.Notas, AAntes);
    uint32_t mudou = mTabuleiro | mHistorico;
    // A step over the whole board ("Limpar") selects as "Limpar" does.
    if (APasso.TodoOTabuleiro)
        mudou |= IrParaPrimeiraVazia(AEstado);
    else if (!APasso.Mudancas.empty())
        mudou |= ColocarCursor(AEstado, APasso.Mudancas.front().Row, APasso.Mudancas.front().Col);
    else if (APasso.Notas.size() == 1)
        mudou |= ColocarCursor(AEstado, APasso.Notas.front().Row, APasso.Notas.front().Col);
    if (!APasso.Mudancas.empty()) mudou |= DepoisDeMudarDigitos(AEstado);
    return mudou;
}

uint32_t RegistarNotas(TEstadoJogo& AEstado, std::vector<TMudancaNotas> AMudancas) {
    if (AMudancas.empty()) return 0;
    AEstado.Notas.Aplicar(AMudancas, false);
    AEstado.Historico.Registar({{}, std::move(AMudancas), false});
    return mTabuleiro | mHistorico;
}

} // namespace

// ---- The information box and the finish

uint32_t Informar(TEstadoJogo& AEstado, const QStringList& ALinhas) {
    AEstado.Informacao = ALinhas;
    AEstado.FimActual = false;
    return mInformacao;
}

bool TabuleiroCompletoECorrecto(const TSomadoBoard& ABoard) {
    bool algumaBranca = false;
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c) {
            const TSomadoCell cell = ABoard.GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            algumaBranca = true;
            if (cell.Value == 0 || cell.Value != cell.Solution) return false;
        }
    return algumaBranca;
}

void AcertarRelogio(TEstadoJogo& AEstado) {
    AEstado.Relogio.Acertar(AEstado.Board && !AEstado.Pausado && !AEstado.EmPausa &&
                            AEstado.GameState == TGameState::gsPlaying &&
                            !TabuleiroCompletoECorrecto(*AEstado.Board));
}

uint32_t DepoisDeMudarDigitos(TEstadoJogo& AEstado) {
    if (AEstado.GameState == TGameState::gsPlaying && TabuleiroCompletoECorrecto(*AEstado.Board)) {
        AcertarRelogio(AEstado);
        AEstado.GameState = TGameState::gsSolved;
        AEstado.VerificacaoActual = false;
        QStringList linhas{
            QStringLiteral("Parabéns! Puzzle resolvido correctamente."),
            QStringLiteral("Tempo de jogo: %1.").arg(TRelogio::Texto(AEstado.Relogio.TempoMs()))};
        if (AEstado.Dicas > 0)
            linhas << (AEstado.Dicas == 1 ? QStringLiteral("Com 1 dica.")
                                          : QStringLiteral("Com %1 dicas.").arg(AEstado.Dicas));
        const uint32_t mudou = Informar(AEstado, linhas);
        AEstado.FimActual = true;
        return mudou | mFim;
    }
    if (AEstado.GameState == TGameState::gsSolved) AEstado.GameState = TGameState::gsPlaying;
    AcertarRelogio(AEstado);
    if (AEstado.FimActual)
        // The congratulation told of digits that are no longer on the board.
        return Informar(AEstado, {QStringLiteral("O puzzle deixou de estar resolvido — o relógio "
                                                 "voltou a contar.")});
    if (AEstado.VerificacaoActual) {
        AEstado.VerificacaoActual = false;
        return Informar(AEstado, {QStringLiteral("As jogadas mudaram desde a última verificação "
                                                 "— carregue em Verificar de novo.")});
    }
    return 0;
}

// ---- The current cell

bool PodeSeleccionar(const TEstadoJogo& AEstado, int32_t ARow, int32_t ACol) {
    return AEstado.Board && CelulaBranca(*AEstado.Board, ARow, ACol);
}

uint32_t ColocarCursor(TEstadoJogo& AEstado, int32_t ARow, int32_t ACol) {
    const TCursor novo{ARow, ACol};
    if (novo == AEstado.Cursor) return 0;
    AEstado.Cursor = novo;
    return mCursor;
}

bool BrancaNaDireccao(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol, int32_t ADeltaRow,
                      int32_t ADeltaCol, int32_t& ARowDestino, int32_t& AColDestino) {
    if (ADeltaRow == 0 && ADeltaCol == 0) return false;
    const auto dentro = [&ABoard](int32_t r, int32_t c) {
        return r >= 0 && c >= 0 && r < ABoard.Size() && c < ABoard.Size();
    };
    for (int32_t r = ARow + ADeltaRow, c = ACol + ADeltaCol; dentro(r, c);
         r += ADeltaRow, c += ADeltaCol)
        if (CelulaBranca(ABoard, r, c)) {
            ARowDestino = r;
            AColDestino = c;
            return true;
        }
    return false;
}

uint32_t MoverCursor(TEstadoJogo& AEstado, TMovimento AMovimento) {
    if (!AEstado.Board) return 0;
    const TCursor actual = AEstado.Cursor;
    int32_t r = 0, c = 0;
    bool encontrada = false;
    const auto naDireccao = [&](int32_t ADeltaRow, int32_t ADeltaCol) {
        return BrancaNaDireccao(*AEstado.Board, actual.Row, actual.Col, ADeltaRow, ADeltaCol, r, c);
    };
    switch (AMovimento) {
    case TMovimento::Cima:
        encontrada = naDireccao(-1, 0);
        break;
    case TMovimento::Baixo:
        encontrada = naDireccao(1, 0);
        break;
    case TMovimento::Esquerda:
        encontrada = naDireccao(0, -1);
        break;
    case TMovimento::Direita:
        encontrada = naDireccao(0, 1);
        break;
    case TMovimento::Seguinte:
        encontrada = BrancaSeguinte(AEstado, 1, r, c);
        break;
    case TMovimento::Anterior:
        encontrada = BrancaSeguinte(AEstado, -1, r, c);
        break;
    }
    return encontrada ? ColocarCursor(AEstado, r, c) : 0;
}

uint32_t IrParaPrimeiraVazia(TEstadoJogo& AEstado) {
    if (!AEstado.Board) return 0;
    const int32_t n = AEstado.Board->Size();
    for (int32_t i = 0; i < n * n; ++i)
        if (VaziaBranca(AEstado, i / n, i % n)) return ColocarCursor(AEstado, i / n, i % n);
    for (int32_t i = 0; i < n * n; ++i)
        if (PodeSeleccionar(AEstado, i / n, i % n)) return ColocarCursor(AEstado, i / n, i % n);
    return 0;
}

uint32_t AvancarParaProximaVazia(TEstadoJogo& AEstado, int32_t ARow, int32_t ACol) {
    if (!AEstado.Board) return 0;
    const int32_t n = AEstado.Board->Size();
    for (int32_t i = ARow * n + ACol + 1; i < n * n; ++i)
        if (VaziaBranca(AEstado, i / n, i % n)) return ColocarCursor(AEstado, i / n, i % n);
    return 0;
}

// ---- Digits and marks

uint32_t EscreverDigito(TEstadoJogo& AEstado, int32_t ADigito) {
    const auto [r, c] = AEstado.Cursor;
    if (AEstado.MostraSolucao() || !PodeSeleccionar(AEstado, r, c) || ADigito < 1 || ADigito > 9)
        return 0;
    const int32_t antes = AEstado.Board->GetCell(r, c).Value;
    ColocarDigito(AEstado, r, c, ADigito);
    uint32_t mudou = mTabuleiro | mHistorico | AvancarParaProximaVazia(AEstado, r, c);
    if (ADigito != antes) mudou |= DepoisDeMudarDigitos(AEstado);
    return mudou;
}

uint32_t ApagarCelula(TEstadoJogo& AEstado) {
    const auto [r, c] = AEstado.Cursor;
    if (AEstado.MostraSolucao() || !PodeSeleccionar(AEstado, r, c)) return 0;
    const int32_t antes = AEstado.Board->GetCell(r, c).Value;
    if (antes == 0) return 0;
    AEstado.Historico.Registar({{{r, c, antes, 0}}, {}});
    EscreverValor(*AEstado.Board, r, c, 0);
    return mTabuleiro | mHistorico | DepoisDeMudarDigitos(AEstado);
}

bool PodeMarcar(const TEstadoJogo& AEstado) {
    return !AEstado.MostraSolucao() && VaziaBranca(AEstado, AEstado.Cursor.Row, AEstado.Cursor.Col);
}

uint32_t AlternarNota(TEstadoJogo& AEstado, int32_t ADigito) {
    if (!PodeMarcar(AEstado) || ADigito < 1 || ADigito > 9) return 0;
    const auto [r, c] = AEstado.Cursor;
    const uint16_t antes = AEstado.Notas.Da(r, c);
    return RegistarNotas(AEstado, {{r, c, antes, static_cast<uint16_t>(antes ^ (1u << ADigito))}});
}

uint32_t ApagarNotas(TEstadoJogo& AEstado, bool ATodas) {
    if (!AEstado.Board || AEstado.MostraSolucao()) return 0;
    return RegistarNotas(AEstado,
                         ATodas ? AEstado.Notas.ApagarTodas()
                                : AEstado.Notas.ApagarDe(AEstado.Cursor.Row, AEstado.Cursor.Col));
}

// ---- The whole board

uint32_t VerSolucao(TEstadoJogo& AEstado) {
    TSomadoBoard* board = AEstado.Board.get();
    if (!board) return 0;
    const bool mostrar = !AEstado.MostraSolucao();
    AEstado.GameState = mostrar ? TGameState::gsSolutionShown : TGameState::gsPlaying;
    AEstado.SolucaoVista = AEstado.SolucaoVista || mostrar;
    const TCellDisplayState marca =
        mostrar ? TCellDisplayState::cdsRevealed : TCellDisplayState::cdsNormal;
    for (int32_t r = 0; r < board->Size(); ++r)
        for (int32_t c = 0; c < board->Size(); ++c) {
            TSomadoCell cell = board->GetCell(r, c);
            if (cell.CellType != TCellType::ctEmpty) continue;
            cell.DisplayState = marca;
            board->SetCell(r, c, cell);
        }
    AEstado.VerificacaoActual = false;
    AcertarRelogio(AEstado);
    return mTabuleiro | mLegendas | mHistorico |
           Informar(AEstado,
                    {mostrar ? QStringLiteral("Solução revelada. Clique novamente para esconder.")
                             : QStringLiteral("Solução escondida — as suas jogadas "
                                              "continuam como estavam.")});
}

uint32_t Verificar(TEstadoJogo& AEstado) {
    TSomadoBoard* board = AEstado.Board.get();
    if (!board) return 0;
    if (AEstado.MostraSolucao())
        return Informar(
            AEstado,
            {QStringLiteral("A solução já está visível — verificar não faz sentido agora.")});
    int32_t corretas = 0, erradas = 0, porPreencher = 0;
    if (board->VerificarJogadas(corretas, erradas, porPreencher)) {
        AEstado.GameState = TGameState::gsSolved;
        AcertarRelogio(AEstado);
        const uint32_t mudou =
            Informar(AEstado, {QStringLiteral("Parabéns! Puzzle resolvido correctamente.")});
        AEstado.FimActual = true;
        return mTabuleiro | mudou;
    }
    const uint32_t mudou =
        Informar(AEstado, {QStringLiteral("Correctas: %1. Erradas: %2. Por preencher: %3.")
                               .arg(corretas)
                               .arg(erradas)
                               .arg(porPreencher)});
    AEstado.VerificacaoActual = true;
    return mTabuleiro | mudou;
}

uint32_t Limpar(TEstadoJogo& AEstado) {
    TSomadoBoard* board = AEstado.Board.get();
    if (!board) return 0;
    TPassoHistorico apagadas{{}, AEstado.Notas.ApagarTodas(), true};
    for (int32_t r = 0; r < board->Size(); ++r)
        for (int32_t c = 0; c < board->Size(); ++c)
            if (const int32_t valor = board->GetCell(r, c).Value; valor != 0)
                apagadas.Mudancas.push_back({r, c, valor, 0});
    AEstado.Notas.Aplicar(apagadas.Notas, false);
    AEstado.Historico.Registar(std::move(apagadas));
    board->LimparJogadas();
    AEstado.GameState = TGameState::gsPlaying;
    AEstado.VerificacaoActual = false;
    AcertarRelogio(AEstado);
    return mTabuleiro | mLegendas | mHistorico | mFoco | IrParaPrimeiraVazia(AEstado) |
           Informar(AEstado, {QStringLiteral("Puzzle limpo — a solução mantém-se, só as jogadas "
                                             "foram apagadas.")});
}

uint32_t Dica(TEstadoJogo& AEstado) {
    if (!AEstado.Board || AEstado.MostraSolucao()) return 0;
    int32_t r = AEstado.Cursor.Row, c = AEstado.Cursor.Col;
    uint32_t mudou = 0;
    if (!VaziaBranca(AEstado, r, c)) {
        if (!EscolherVaziaAoAcaso(AEstado, r, c)) return 0;
        mudou |= ColocarCursor(AEstado, r, c);
    }
    ++AEstado.Dicas;
    ColocarDigito(AEstado, r, c, AEstado.Board->GetCell(r, c).Solution);
    mudou |= DepoisDeMudarDigitos(AEstado);
    return mudou | mTabuleiro | mHistorico | mFoco | AvancarParaProximaVazia(AEstado, r, c);
}

// ---- Pause

uint32_t AlternarPausa(TEstadoJogo& AEstado) {
    if (!AEstado.EmPausa && (!AEstado.Board || AEstado.GameState != TGameState::gsPlaying))
        return 0;
    AEstado.EmPausa = !AEstado.EmPausa;
    AcertarRelogio(AEstado);
    const QStringList linhas =
        AEstado.EmPausa ? QStringList{QStringLiteral("Jogo em pausa — o relógio parou."),
                                      QStringLiteral("Pausa ou Ctrl+Shift+P para continuar.")}
                        : QStringList{QStringLiteral("O jogo continua.")};
    return mTabuleiro | mOcupacao | mHistorico | Informar(AEstado, linhas);
}

// ---- What the board points at

namespace {

bool NaCorrida(const TCorridaDaCelula& ACorrida, int32_t ARow, int32_t ACol) {
    if (ACorrida.Comprimento == 0) return false;
    return ACorrida.Horizontal ? ARow == ACorrida.Row && ACol >= ACorrida.Col &&
                                     ACol < ACorrida.Col + ACorrida.Comprimento
                               : ACol == ACorrida.Col && ARow >= ACorrida.Row &&
                                     ARow < ACorrida.Row + ACorrida.Comprimento;
}

} // namespace

TDestaque DestaqueDe(const TEstadoJogo& AEstado, int32_t ARow, int32_t ACol) {
    if (!PodeSeleccionar(AEstado, ARow, ACol) || AEstado.EmPausa) return TDestaque::Nenhum;
    if (AEstado.Passo) {
        if (ARow == AEstado.Passo->Row && ACol == AEstado.Passo->Col) return TDestaque::PassoCelula;
        for (const TCorridaDaCelula& corrida : AEstado.Passo->Corridas)
            if (NaCorrida(corrida, ARow, ACol)) return TDestaque::Passo;
    }
    if (!AEstado.MostrarCorridas || AEstado.MostraSolucao()) return TDestaque::Nenhum;
    const auto [r, c] = AEstado.Cursor;
    if (!PodeSeleccionar(AEstado, r, c)) return TDestaque::Nenhum;
    // Only the rows and columns through the current cell can hold its runs.
    if (ARow == r && NaCorrida(CorridaPor(*AEstado.Board, r, c, true), ARow, ACol))
        return TDestaque::Corrida;
    if (ACol == c && NaCorrida(CorridaPor(*AEstado.Board, r, c, false), ARow, ACol))
        return TDestaque::Corrida;
    return TDestaque::Nenhum;
}

// ---- Undo and redo

bool PodeDesfazer(const TEstadoJogo& AEstado) {
    return AEstado.Board && !AEstado.MostraSolucao() && AEstado.Historico.PodeDesfazer();
}

bool PodeRefazer(const TEstadoJogo& AEstado) {
    return AEstado.Board && !AEstado.MostraSolucao() && AEstado.Historico.PodeRefazer();
}

uint32_t Desfazer(TEstadoJogo& AEstado) {
    TPassoHistorico passo;
    if (!PodeDesfazer(AEstado) || !AEstado.Historico.Desfazer(passo)) return 0;
    return AplicarPasso(AEstado, passo, true);
}

uint32_t Refazer(TEstadoJogo& AEstado) {
    TPassoHistorico passo;
    if (!PodeRefazer(AEstado) || !AEstado.Historico.Refazer(passo)) return 0;
    return AplicarPasso(AEstado, passo, false);
}

} // namespace Jogadas
