#!/usr/bin/env bash
# The folders of src/ are layers: each may include its own headers and those of the folders
# below it, never one above, so that a lower folder builds and is tested without the upper ones
# (the board model and the generator even without Qt, in SOMADO_CORE_ONLY builds). Reads every
# #include under each folder and names the file and line of each one that points up or
# sideways, and of each Qt header in a folder that must stay standard C++.
#   camadas.sh SRC    (SRC: the src folder of the source tree)
set -euo pipefail

raiz=${1:?usage: camadas.sh SRC}
raiz=${raiz%/}
if [[ ! -d $raiz ]]; then
  echo "FALHOU: a pasta $raiz não existe" >&2
  exit 1
fi
shopt -s nullglob

# What each folder may include, itself first. Bottom to top: model; generator; io (Qt Core);
# render (Qt Gui; also the rules text shared by help window and PDF); pdf; game; ui.
declare -A permitidas=(
  [model]="model"
  [generator]="generator model"
  [io]="io model"
  [render]="render model"
  [pdf]="pdf render io model"
  [game]="game pdf io generator model"
  [ui]="ui game pdf render io generator model"
)
# Standard C++ only: these are built without Qt.
sem_qt=" model generator "

falhas=0
ficheiros=0
inclusoes=0

falhar() {
  echo "$1" >&2
  falhas=$((falhas + 1))
}

# Sets destino to the src folder of the header that an include in the given file names;
# empty when it is no header of this program (the standard library, Qt, QPDF).
raiz_real=$(realpath -m "$raiz")
destino=
pasta_do_cabecalho() {
  local ficheiro=$1 delimitador=$2 nome=$3 alvo=$3
  destino=
  # A quoted name is looked for beside the including file first.
  if [[ $delimitador == '"' && -e ${ficheiro%/*}/$nome ]]; then
    alvo=${ficheiro%/*}/$nome
    # Only a name that climbs out of its folder needs the path worked out.
    [[ $nome == *..* ]] && alvo=$(realpath -m "$alvo")
    alvo=${alvo#"$raiz_real"/}
    alvo=${alvo#"$raiz"/}
    [[ $alvo == /* ]] && return 0
  fi
  local primeira=${alvo%%/*}
  if [[ $primeira != "$alvo" && -n ${permitidas[$primeira]+x} ]]; then
    destino=$primeira
  fi
}

for caminho_pasta in "$raiz"/*/; do
  pasta=$(basename "$caminho_pasta")
  if [[ -z ${permitidas[$pasta]+x} ]]; then
    falhar "src/$pasta: pasta sem camada; dê-lhe uma em $(basename "$0")"
    continue
  fi
  while IFS= read -r -d '' ficheiro; do
    ficheiros=$((ficheiros + 1))
    relativo=src/${ficheiro#"$raiz"/}
    numero=0
    while IFS= read -r linha || [[ -n $linha ]]; do
      numero=$((numero + 1))
      linha=${linha%$'\r'}
      [[ $linha =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+)[\"\>] ]] ||
        continue
      inclusoes=$((inclusoes + 1))
      delimitador=${BASH_REMATCH[1]}
      nome=${BASH_REMATCH[2]}
      if [[ $sem_qt == *" $pasta "* && ($nome =~ ^Q || $nome =~ ^q[a-z0-9_]*\.h$) ]]; then
        falhar "$relativo:$numero: inclui o cabeçalho Qt $nome, mas $pasta usa só a biblioteca padrão"
        continue
      fi
      pasta_do_cabecalho "$ficheiro" "$delimitador" "$nome"
      [[ -z $destino ]] && continue
      if [[ " ${permitidas[$pasta]} " != *" $destino "* ]]; then
        falhar "$relativo:$numero: inclui $nome, de $destino, mas $pasta só pode incluir: ${permitidas[$pasta]}"
      fi
    done <"$ficheiro"
  done < <(find "$caminho_pasta" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \
    -o -name '*.cc' -o -name '*.inl' \) -print0 | sort -z)
done

# A wrong path, or an include written in a way this script no longer reads, must not pass as
# a clean tree.
if ((ficheiros == 0 || inclusoes == 0)); then
  falhar "nenhum ficheiro-fonte ou nenhum #include em $raiz"
fi
if ((falhas > 0)); then
  echo "FALHOU: $falhas falha(s) contra as camadas" >&2
  exit 1
fi
echo "$inclusoes #include em $ficheiros ficheiros respeitam as camadas"
