// somado-bench: runs GerarPuzzle a number of times and reports how long it takes.
//   somado-bench --size N --level L --count K [--budget MS] [--seed S] [--save DIR]
//                [--threads T]
#include "PastaDeDestino.h"

#include "generator/GeradorInterno.h"
#include "io/GravacaoSegura.h"
#include "io/UnitSomadoFicheiro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const CUso =
    "uso: somado-bench --size N --level L --count K [--budget MS] [--seed S] [--save DIR]\n"
    "                  [--threads T]\n"
    "  N: 6 9 12 15 16 20 25\n"
    "  L: facil medio dificil muito-dificil (ou 0..3)\n"
    "  MS: orçamento por puzzle em milissegundos (por omissão 30000; 75000 para 12 e 15;\n"
    "      0 sem limite)\n"
    "  S: semente do gerador aleatório, para repetir exatamente uma série (por omissão, o "
    "relógio)\n"
    "  DIR: pasta onde cada puzzle gerado é gravado como ficheiro .smd\n"
    "  T: threads de trabalho (por omissão, uma por núcleo); a mesma semente dá os mesmos\n"
    "     puzzles com qualquer número de threads\n";

std::optional<TTamanhoTabuleiro> TamanhoDoLado(int ALado) {
    for (int t = 0; t <= static_cast<int>(TTamanhoTabuleiro::tt16); ++t)
        if (LadoDoTabuleiro(static_cast<TTamanhoTabuleiro>(t)) == ALado)
            return static_cast<TTamanhoTabuleiro>(t);
    return std::nullopt;
}

// The levels as --level and the saved files' names spell them.
const char* const CNomesDosNiveis[] = {"facil", "medio", "dificil", "muito-dificil"};

std::optional<TNivelDificuldade> NivelDoTexto(const std::string& ATexto) {
    for (int n = 0; n < 4; ++n)
        if (ATexto == CNomesDosNiveis[n] || ATexto == std::to_string(n))
            return static_cast<TNivelDificuldade>(n);
    return std::nullopt;
}

const char* NomeDoNivel(TNivelDificuldade ANivel) {
    const char* nomes[] = {"Fácil", "Médio", "Difícil", "Muito Difícil"};
    return nomes[static_cast<int>(ANivel)];
}

double Percentil(std::vector<double> AValores, double AFracao) {
    if (AValores.empty()) return 0;
    std::sort(AValores.begin(), AValores.end());
    // Nearest rank: the smallest value with at least AFracao of the values at or below it.
    size_t posicao = static_cast<size_t>(AFracao * static_cast<double>(AValores.size()) + 0.999999);
    posicao = std::clamp<size_t>(posicao, 1, AValores.size());
    return AValores[posicao - 1];
}

// A mistake on the command line: the usage, and status 2.
[[noreturn]] void Falhar(const std::string& AMensagem) {
    std::fprintf(stderr, "somado-bench: %s\n%s", AMensagem.c_str(), CUso);
    std::exit(2);
}

// A run that cannot go on: the reason, and status 1.
int FalharNaExecucao(const std::string& AMensagem) {
    std::fprintf(stderr, "somado-bench: %s\n", AMensagem.c_str());
    return 1;
}

QString NomeDoPuzzle(const QDir& APasta, int ALado, TNivelDificuldade ANivel, long ANumero) {
    return APasta.filePath(QString("somado-%1x%1-%2-%3.smd")
                               .arg(ALado)
                               .arg(CNomesDosNiveis[static_cast<int>(ANivel)])
                               .arg(ANumero, 4, 10, QChar(u'0')));
}

// Writes the puzzle under the first free name in the folder from ANumero on, and leaves
// ANumero at the name taken, so that a long run does not look at its own files again. Each
// name is created only if nobody has it, in one step, so two runs into one folder take turns
// instead of writing over each other's puzzles.
QString GravarComNomeLivre(const QDir& APasta, int ALado, TNivelDificuldade ANivel,
                           const TSomadoBoard& ABoard, long& ANumero) {
    const QByteArray texto = TextoDoPuzzle(ABoard);
    for (;; ++ANumero) {
        const QString caminho = NomeDoPuzzle(APasta, ALado, ANivel, ANumero);
        if (CriarFicheiroNovo(caminho, texto)) return caminho;
    }
}

// The puzzles made, handed from the workers to the report in order. The workers run at most
// a few puzzles ahead of the report, so the memory a run takes does not grow with --count.
class TResultados {
public:
    struct TResultado {
        std::unique_ptr<TSomadoBoard> Board;
        double Segundos = 0;
        std::chrono::steady_clock::time_point Fim;
        int64_t Chamadas = 0;
        // A generation that raised instead of giving up.
        std::string Erro;
    };

    TResultados(long AContagem, long AAdiante) : FContagem(AContagem), FAdiante(AAdiante) {}

    // The number of the next puzzle to make; false when none is left or the run has stopped.
    bool Proximo(long& AIndice) {
        std::unique_lock bloqueio(FMutex);
        FMudou.wait(bloqueio, [&] { return FParar || FProximo - FRelatados < FAdiante; });
        if (FParar || FProximo >= FContagem) return false;
        AIndice = FProximo++;
        return true;
    }

    void Entregar(long AIndice, TResultado AResultado) {
        {
            const std::lock_guard bloqueio(FMutex);
            FProntos.emplace(AIndice, std::move(AResultado));
        }
        FMudou.notify_all();
    }

    // Puzzle AIndice, once made; the report takes them in order.
    TResultado Receber(long AIndice) {
        std::unique_lock bloqueio(FMutex);
        FMudou.wait(bloqueio, [&] { return FProntos.count(AIndice) > 0; });
        TResultado resultado = std::move(FProntos.at(AIndice));
        FProntos.erase(AIndice);
        FRelatados = AIndice + 1;
        bloqueio.unlock();
        FMudou.notify_all();
        return resultado;
    }

    // No new puzzle starts; the ones being made give up soon.
    void Parar() {
        {
            const std::lock_guard bloqueio(FMutex);
            FParar = true;
        }
        FPararGeracao = true;
        FMudou.notify_all();
    }
    const std::atomic<bool>& PararGeracao() const { return FPararGeracao; }

private:
    const long FContagem;
    const long FAdiante;
    std::mutex FMutex;
    std::condition_variable FMudou;
    // Under FMutex.
    long FProximo = 0;
    long FRelatados = 0;
    bool FParar = false;
    std::map<long, TResultado> FProntos;
    std::atomic<bool> FPararGeracao{false};
};

// Writes the line now: a long run shows its progress, and a report that cannot be written
// (a full disk, a closed pipe) stops the run instead of the work going on unseen.
bool Escrever() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::optional<TTamanhoTabuleiro> tamanho;
    std::optional<TNivelDificuldade> nivel;
    long contagem = 0;
    std::optional<long long> orcamento;
    std::optional<unsigned long long> semente;
    std::optional<std::string> pasta;
    long threads = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string opcao = argv[i];
        if (opcao == "--help" || opcao == "-h") {
            std::fputs(CUso, stdout);
            return Escrever() ? 0 : FalharNaExecucao("não foi possível escrever a ajuda");
        }
        if (i + 1 >= argc) Falhar("falta o valor de " + opcao);
        const std::string valor = argv[++i];
        char* fim = nullptr;
        errno = 0;
        if (opcao == "--size") {
            const long lado = std::strtol(valor.c_str(), &fim, 10);
            tamanho = *fim ? std::nullopt : TamanhoDoLado(static_cast<int>(lado));
            if (!tamanho) Falhar("tamanho inválido");
        } else if (opcao == "--level") {
            nivel = NivelDoTexto(valor);
            if (!nivel) Falhar("nível inválido");
        } else if (opcao == "--count") {
            contagem = std::strtol(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || errno == ERANGE || contagem < 1)
                Falhar("contagem inválida");
        } else if (opcao == "--budget") {
            orcamento = std::strtoll(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || errno == ERANGE || *orcamento < 0)
                Falhar("orçamento inválido");
        } else if (opcao == "--seed") {
            semente = std::strtoull(valor.c_str(), &fim, 10);
            if (valor.empty() || valor[0] == '-' || *fim || errno == ERANGE)
                Falhar("semente inválida");
        } else if (opcao == "--threads") {
            threads = std::strtol(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || threads < 1 || threads > 1024)
                Falhar("número de threads inválido");
        } else if (opcao == "--save") {
            pasta = valor;
        } else {
            Falhar("opção desconhecida: " + opcao);
        }
    }
    if (!tamanho || !nivel || contagem < 1) Falhar("faltam --size, --level ou --count");
    const int lado = LadoDoTabuleiro(*tamanho);
    if (!orcamento) orcamento = (lado == 12 || lado == 15) ? 75000 : 30000;

    // The folder is made and tried before the first puzzle: a run that cannot save fails at
    // once, not after hours of generation.
    QDir destino;
    long numeroLivre = 1;
    if (pasta) {
        try {
            destino = CriarPastaDeDestino(QFile::decodeName(QByteArray::fromStdString(*pasta)));
            while (QFileInfo::exists(NomeDoPuzzle(destino, lado, *nivel, numeroLivre)))
                ++numeroLivre;
            VerificarDestino(NomeDoPuzzle(destino, lado, *nivel, numeroLivre));
        } catch (const ESomadoError& e) {
            return FalharNaExecucao(e.what());
        }
    }

    // Puzzle n draws from a stream made from the seed and n, as a batch's puzzles do: the
    // same seed gives the same puzzles whatever the number of threads.
    if (!semente) {
        SemearAleatorio();
        semente = AleatorioDoProcesso().Proximo();
    }
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, contagem);

    // Every time is kept for the percentiles: a few bytes per puzzle actually made.
    std::vector<double> tempos;
    long sucessos = 0;
    int64_t chamadas = 0;
    std::string falha;
    const auto inicio = std::chrono::steady_clock::now();
    // The generation's wall time, as if nothing were saved or printed meanwhile: up to the
    // last puzzle made.
    auto fimDaGeracao = inicio;
    {
        // Room for a few hundred boards (a few megabytes) lets the workers go on while the
        // report waits for a slow disk.
        TResultados resultados(contagem, std::max(256L, 4 * threads));
        std::vector<std::jthread> trabalhadores;
        // However the block is left, the workers are told to stop before they are waited for:
        // what they are making is given up.
        const struct TAoSair {
            TResultados& Resultados;
            ~TAoSair() { Resultados.Parar(); }
        } aoSair{resultados};
        for (long t = 0; t < threads; ++t)
            trabalhadores.emplace_back([&] {
                for (long k; resultados.Proximo(k);) {
                    TResultados::TResultado r;
                    const auto antes = std::chrono::steady_clock::now();
                    try {
                        // A context of its own for every puzzle, as the program's calls have.
                        TContextoGeracao contexto(
                            TAleatorio::DoPuzzle(*semente, static_cast<uint64_t>(k)),
                            &resultados.PararGeracao());
                        r.Board = GerarPuzzleNoContexto(*tamanho, *nivel, *orcamento, contexto);
                        r.Chamadas = contexto.ChamadasContarIndeterminadas;
                    } catch (const std::exception& e) {
                        r.Erro = e.what();
                    }
                    r.Fim = std::chrono::steady_clock::now();
                    r.Segundos = std::chrono::duration<double>(r.Fim - antes).count();
                    resultados.Entregar(k, std::move(r));
                }
            });

        for (long n = 1; n <= contagem && falha.empty(); ++n) {
            const TResultados::TResultado r = resultados.Receber(n - 1);
            if (!r.Erro.empty()) {
                falha = r.Erro;
                break;
            }
            chamadas += r.Chamadas;
            tempos.push_back(r.Segundos);
            fimDaGeracao = std::max(fimDaGeracao, r.Fim);
            if (!r.Board) {
                std::printf("%3ld  nenhum   %8.3f s\n", n, r.Segundos);
            } else {
                ++sucessos;
                std::printf("%3ld  sucesso  %8.3f s  %-13s  score %d", n, r.Segundos,
                            NomeDoNivel(r.Board->Difficulty()), r.Board->DifficultyScore());
                if (pasta) {
                    try {
                        const QString caminho =
                            GravarComNomeLivre(destino, lado, *nivel, *r.Board, numeroLivre);
                        std::printf("  %s", caminho.toStdString().c_str());
                    } catch (const ESomadoError& e) {
                        std::printf("\n");
                        falha = e.what();
                        break;
                    }
                }
                std::printf("\n");
            }
            if (!Escrever()) falha = "não foi possível escrever o relatório";
        }
    }
    if (!falha.empty()) {
        std::fflush(stdout);
        return FalharNaExecucao(falha);
    }
    const double total = std::chrono::duration<double>(fimDaGeracao - inicio).count();

    std::printf("\n%dx%d %s, orçamento %lld ms: sucesso %ld/%ld (%.0f %%)\n", lado, lado,
                NomeDoNivel(*nivel), *orcamento, sucessos, contagem,
                100.0 * static_cast<double>(sucessos) / static_cast<double>(contagem));
    std::printf("tempo: mediana %.3f s, p90 %.3f s, máximo %.3f s\n", Percentil(tempos, 0.5),
                Percentil(tempos, 0.9), *std::max_element(tempos.begin(), tempos.end()));
    std::printf("semente %llu, %ld threads: %.2f s ao todo\n",
                static_cast<unsigned long long>(*semente), threads, total);
    std::printf("ContarIndeterminadas: %lld chamadas, %.0f por segundo\n",
                static_cast<long long>(chamadas),
                total > 0 ? static_cast<double>(chamadas) / total : 0.0);
    if (!Escrever()) return FalharNaExecucao("não foi possível escrever o relatório");
    return 0;
}
