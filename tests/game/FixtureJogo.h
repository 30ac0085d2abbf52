// The game with a recording window and a generator under the test's control.
#pragma once

#include "JanelaFalsa.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// A generator under the test's control: it hands out a board at the level asked for, or
// nothing, and records how it was called. Batches call it from worker threads: the calls
// are counted atomically, and the rest of each call (Durante included) runs one at a time.
struct TGeradorFalso {
    bool Falhar = false;
    bool Lancar = false;
    // Works until it is asked to stop, as a long generation does, and then gives up.
    bool AtePararem = false;
    std::atomic<int> Chamadas{0};
    TTamanhoTabuleiro Tamanho{};
    TNivelDificuldade Nivel{};
    int64_t Limite = 0;
    std::function<void()> Durante;
    std::mutex Mutex;

    std::unique_ptr<TSomadoBoard> operator()(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                             int64_t ALimite,
                                             const std::atomic<bool>* AParar = nullptr) {
        ++Chamadas;
        if (AtePararem && AParar) {
            while (!AParar->load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return nullptr;
        }
        std::lock_guard bloqueio(Mutex);
        Tamanho = ATamanho;
        Nivel = ANivel;
        Limite = ALimite;
        if (Durante) Durante();
        if (Lancar) throw ESomadoError("falha interna");
        if (Falhar) return nullptr;
        // The fixed puzzle for 9 × 9, an empty board of the right side for other sizes.
        auto board = ATamanho == TTamanhoTabuleiro::tt9
                         ? CriarPuzzleFixo()
                         : std::make_unique<TSomadoBoard>(LadoDoTabuleiro(ATamanho));
        board->SetDifficulty(ANivel);
        return board;
    }
};

class Jogo : public ::testing::Test {
protected:
    Jogo() { janela.Jogo = &jogo; }
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    void Iniciar(bool AFalhar = false) {
        gerador.Falhar = AFalhar;
        jogo.Iniciar();
        gerador.Falhar = false;
    }
    TSomadoCell Celula(int32_t r, int32_t c) const { return jogo.Board()->GetCell(r, c); }
    void Escrever(int32_t r, int32_t c, char ADigito) {
        EXPECT_TRUE(jogo.SeleccionarCelula(r, c)) << r << "," << c;
        EXPECT_TRUE(jogo.EscreverCaracter(QChar(ADigito)));
    }
    // A new puzzle made as the window makes it, waited for: true when a board was installed.
    bool Gerar() {
        bool instalado = false;
        if (!jogo.GerarNovoPuzzle([&](bool AInstalado) { instalado = AInstalado; })) return false;
        janela.EsperarTrabalho();
        return instalado;
    }
    // White cells of the fixed puzzle in reading order.
    std::vector<std::pair<int32_t, int32_t>> Brancas() const {
        std::vector<std::pair<int32_t, int32_t>> brancas;
        for (int32_t r = 0; r < 9; ++r)
            for (int32_t c = 0; c < 9; ++c)
                if (Celula(r, c).CellType == TCellType::ctEmpty) brancas.emplace_back(r, c);
        return brancas;
    }
    void PreencherTudoCorrecto() {
        for (const auto& [r, c] : Brancas())
            Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
    }

    TJanelaFalsa janela;
    TGeradorFalso gerador;
    TJogo jogo{janela, [this](TTamanhoTabuleiro t, TNivelDificuldade n, int64_t l, TAleatorio&,
                              const std::atomic<bool>& p) { return gerador(t, n, l, &p); }};
};
