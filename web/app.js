// The page's loader: it checks what the browser can do, fetches the program with its progress
// shown, starts it on the page's canvas, and says so in Japanese when the program has ended
// or cannot run. Loaded from the page's own origin only; nothing here is evaluated from text.
'use strict';

(function () {
  const canvas = document.getElementById('screen');
  const notice = document.getElementById('notice');
  const status = document.getElementById('status');
  const progress = document.getElementById('progress');
  const again = document.getElementById('again');
  const licences = document.getElementById('licences');
  const mirror = createMirror(canvas, document.getElementById('mirror')); // mirror.js

  function say(text, { showProgress = false, offerAgain = false } = {}) {
    status.textContent = text;
    progress.hidden = !showProgress;
    again.hidden = !offerAgain;
    notice.hidden = false;
    canvas.classList.add('waiting');
    licences.classList.remove('playing');
  }
  again.addEventListener('click', () => location.reload());

  // A pinch or a double tap on an iPad must not zoom the page away from the game.
  for (const gesture of ['gesturestart', 'gesturechange', 'dblclick'])
    document.addEventListener(gesture, (event) => event.preventDefault(), { passive: false });

  // The program's errors travel as WebAssembly's own exceptions (Safari 15.2, Chrome 95,
  // Firefox 100 and later): a module of one try and catch_all tells whether this browser has them.
  const exceptions = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0,
    10, 8, 1, 6, 0, 6, 64, 25, 11, 11]);
  if (typeof WebAssembly !== 'object' || !WebAssembly.validate(exceptions)) {
    say('このブラウザーは WebAssembly に対応していないため、ヤマルカを動かせません。' +
        '新しいブラウザーでお試しください。');
    return;
  }

  const expected = Number(document.documentElement.dataset.wasmBytes) || 0;
  // The program's two halves are named after their build, so that one visit never pairs the
  // script of one build with the program of another (an old copy in a cache, a newer server).
  const program = 'yamaruka-' + document.documentElement.dataset.build;
  say('ヤマルカを読み込んでいます…', { showProgress: true });

  // Compiled while it arrives, its bytes counted on the way for the progress bar.
  async function fetchProgram() {
    const response = await fetch(program + '.wasm');
    if (!response.ok)
      throw new Error(response.status + ' ' + response.statusText);
    const reader = response.body.getReader();
    let received = 0;
    const counted = new ReadableStream({
      async pull(controller) {
        const { done, value } = await reader.read();
        if (done) {
          status.textContent = 'ヤマルカを準備しています…';
          controller.close();
          return;
        }
        received += value.length;
        if (expected > 0)
          progress.value = Math.min(100, (100 * received) / expected);
        controller.enqueue(value);
      },
    });
    const wasm = new Response(counted, { headers: { 'Content-Type': 'application/wasm' } });
    if (WebAssembly.compileStreaming)
      return WebAssembly.compileStreaming(wasm);
    return WebAssembly.compile(await wasm.arrayBuffer());
  }

  function loadScript(src) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = src;
      script.onload = resolve;
      script.onerror = () => reject(new Error(src));
      document.head.appendChild(script);
    });
  }

  let ended = false;
  function end(crashed) {
    if (ended)
      return;
    ended = true;
    say(crashed ? 'ヤマルカが止まってしまいました。' : 'ヤマルカを終了しました。', { offerAgain: true });
  }

  const unreadable = 'ヤマルカを読み込めませんでした。ネットワークにつないで、もう一度お試しください。';
  const unstartable = 'ヤマルカを起動できませんでした。ほかのタブやアプリを閉じて、もう一度お試しください。';

  function start(module) {
    // Asked only now: a browser's first WebGL context can take a second to make, and the page
    // would do nothing else meanwhile.
    if (!document.createElement('canvas').getContext('webgl')) {
      say('このブラウザーでは WebGL が使えないため、ヤマルカを表示できません。' +
          'ブラウザーの設定でハードウェア アクセラレーションを有効にしてお試しください。');
      return undefined;
    }
    const config = {
      qtContainerElements: [canvas],
      mirror, // the program tells it of its accessibility tree
      qtFontDpi: 96,
      instantiateWasm(imports, done) {
        // Out of memory on an old tablet, or a program that does not fit this script.
        WebAssembly.instantiate(module, imports).then((instance) => done(instance, module))
          .catch(() => say(unstartable, { offerAgain: true }));
        return {};
      },
      onRuntimeInitialized() {
        notice.hidden = true;
        canvas.classList.remove('waiting');
        licences.classList.add('playing');
        canvas.focus();
        // From the next visit on, the page starts without a network. Registered once the
        // program runs, so that its copies do not hold up the first start.
        if ('serviceWorker' in navigator)
          navigator.serviceWorker.register('sw.js').catch(() => {});
      },
      programEnded: () => end(false), // "終了": the window closed
      onExit: () => end(false),
      // Why it stopped, kept on the page for whoever looks (a test, a browser's inspector).
      quit: (code, error) => {
        if (code !== 0)
          document.documentElement.dataset.stopped = `${error}\n${(error && error.stack) || ''}`;
        end(code !== 0);
      },
      onAbort: (what) => {
        document.documentElement.dataset.stopped = String(what);
        end(true);
      },
    };
    mirror.attach(config); // the running program is this object, its functions added to it
    return window.createQtAppInstance(config);
  }

  Promise.all([fetchProgram(), loadScript(program + '.js')])
    .then(([module]) => start(module))
    .catch(() => say(unreadable, { offerAgain: true }));
})();
