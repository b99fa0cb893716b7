# web-env.sh - sourced by the scripts that build or test for the web: the
# folders, and what Debian 12's Emscripten 3.1.6 needs on this system to
# work at all.
#   - emcc's JavaScript optimizer (-O1 and up) loads Debian's `acorn`, which
#     Node 20 does not look for in /usr/share/nodejs by itself;
#   - CMake's default emulator for Emscripten passes an option Node 20
#     refuses (exit 9), which CMake's try_run checks would take for their
#     program's result: configure with web_cmake, which names a working one;
#   - the loader misuses Node's global fetch for file paths: run a build
#     under Node with web_node.
# Linking to .html at -O1 and up also needs -sMINIFY_HTML=0 (a packaging
# fault in the HTML minifier): cmake/web.cmake adds it.

kiva_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
web_build="$kiva_root/build/web"  # the project's web build folder
web_deps="$web_build/deps"        # the libraries built for wasm: include/, lib/
web_emulator="/usr/bin/node;--no-experimental-fetch"

case ":${NODE_PATH:-}:" in
  *:/usr/share/nodejs:*) ;;
  *) export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}" ;;
esac

# web_cmake ARGS...: cmake configured for Emscripten (emcmake), with the
# working emulator.
web_cmake() {
  emcmake cmake "$@" "-DCMAKE_CROSSCOMPILING_EMULATOR=$web_emulator"
}

# web_node PROGRAM.js ARGS...: runs a build under Node.
web_node() {
  /usr/bin/node --no-experimental-fetch "$@"
}
