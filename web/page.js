// Morvane in a web page: the narration view, the player's input line and the controls around
// the game's rules, which run in the module built from web/main.cpp. The module calls the
// functions of `page` below; nothing the game writes is ever read as HTML.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const screen = $('screen');
  const view = $('view');
  const answer = $('answer');
  const input = $('line');
  const continueButton = $('continue');
  const skipButton = $('skip');
  const ending = $('ending');
  const copyButton = $('copy');
  const link = $('link');
  const notice = $('notice');
  const noticeText = $('notice-text');
  const freshButton = $('fresh');

  // Lines kept in view; older ones are dropped so that a long fight stays light.
  const MAX_LINES = 20000;
  // The narration's escape byte (see src/console/browser_console.hpp).
  const ESCAPE = '\x01';

  let game = null; // the module, once loaded
  let speed = 1; // pauses are divided by it; Infinity: none
  let skipping = false; // to the end of the current fight
  let stick = true; // keep the newest line in view (the player has not scrolled up)
  let colour = 0; // of the text that comes next
  let openLine = null; // the line the game is writing
  let pendingRead = null;
  let pendingKey = null;
  let pendingSleep = null;
  let shareCode = '';
  let scrollQueued = false;
  let broken = false; // the module failed: only a reload can help

  const setState = (state) => {
    document.body.dataset.state = state;
  };

  // ---- The narration --------------------------------------------------------------------

  function newLine() {
    openLine = document.createElement('div');
    openLine.className = 'line open';
    view.appendChild(openLine);
  }

  function clearView() {
    view.replaceChildren();
    newLine();
  }

  function addRun(text) {
    const span = document.createElement('span');
    span.className = 'c' + colour;
    span.textContent = text;
    openLine.appendChild(span);
  }

  // Text with '\n' at line ends and ESCAPE + '0'...'7' (colour), 'C' (clear) or ESCAPE itself.
  function show(text) {
    const special = /[\n\x01]/g;
    let from = 0;
    let match;
    while ((match = special.exec(text)) !== null) {
      if (match.index > from) addRun(text.slice(from, match.index));
      from = special.lastIndex;
      if (match[0] === '\n') {
        openLine.classList.remove('open');
        newLine();
        continue;
      }
      const code = text[from];
      from += 1;
      special.lastIndex = from;
      if (code === 'C') clearView();
      else if (code >= '0' && code <= '7') colour = code.charCodeAt(0) - 48;
      else if (code !== undefined) addRun(code);
    }
    if (from < text.length) addRun(text.slice(from));
    trim();
    followNewest();
  }

  function trim() {
    const extra = view.childElementCount - MAX_LINES;
    if (extra < MAX_LINES / 10) return;
    const range = document.createRange();
    range.setStartBefore(view.firstElementChild);
    range.setEndAfter(view.children[extra - 1]);
    range.deleteContents();
  }

  // What the player typed, where a terminal would echo it.
  function echo(text) {
    const span = document.createElement('span');
    span.className = 'echo';
    span.textContent = text;
    openLine.appendChild(span);
    followNewest();
  }

  function followNewest() {
    if (!stick || scrollQueued) return;
    scrollQueued = true;
    requestAnimationFrame(() => {
      scrollQueued = false;
      if (stick) screen.scrollTop = screen.scrollHeight;
    });
  }

  screen.addEventListener('scroll', () => {
    stick = screen.scrollHeight - screen.scrollTop - screen.clientHeight < 24;
  });

  // ---- Pacing -----------------------------------------------------------------------------

  function wake() {
    if (pendingSleep === null) return;
    clearTimeout(pendingSleep.timer);
    pendingSleep.resolve();
    pendingSleep = null;
  }

  function setSpeed(value) {
    speed = value;
    for (const button of document.querySelectorAll('#speeds button')) {
      const pressed = Number(button.dataset.speed === 'instant' ? Infinity : button.dataset.speed);
      button.setAttribute('aria-pressed', String(pressed === value));
    }
    if (value === Infinity) wake();
  }

  for (const button of document.querySelectorAll('#speeds button')) {
    button.addEventListener('click', () => {
      setSpeed(button.dataset.speed === 'instant' ? Infinity : Number(button.dataset.speed));
    });
  }

  // The live odds: shown after every battle round while the button is pressed. `?odds` in the
  // address presses it from the start.
  const oddsButton = $('odds');
  function setOdds(on) {
    page.odds = on;
    oddsButton.setAttribute('aria-pressed', String(on));
  }
  oddsButton.addEventListener('click', () => setOdds(!page.odds));

  skipButton.addEventListener('click', () => {
    skipping = true;
    skipButton.disabled = true;
    wake();
  });

  // Handing the thread back to the page without the clamping of nested timers.
  const channel = new MessageChannel();
  const yielded = [];
  channel.port1.onmessage = () => yielded.shift()();

  // ---- The player's answers -----------------------------------------------------------------

  answer.addEventListener('submit', (event) => {
    event.preventDefault();
    const text = input.value;
    input.value = '';
    // Only a read waiting for it takes a line: what was typed during the narration is dropped.
    if (pendingRead === null) return;
    const resolve = pendingRead;
    pendingRead = null;
    input.readOnly = true;
    input.placeholder = '请稍候……';
    echo(text);
    setState('narrating');
    resolve(text);
  });

  function keyContinues(event) {
    if (pendingKey === null || event.repeat || event.ctrlKey || event.metaKey || event.altKey) {
      return;
    }
    if (['Shift', 'Control', 'Alt', 'Meta', 'CapsLock', 'Tab'].includes(event.key)) return;
    event.preventDefault();
    continueGame();
  }

  function continueGame() {
    if (pendingKey === null) return;
    const resolve = pendingKey;
    pendingKey = null;
    setState('narrating');
    resolve();
  }

  document.addEventListener('keydown', keyContinues);
  screen.addEventListener('click', continueGame);
  continueButton.addEventListener('click', continueGame);

  // ---- What the module calls ----------------------------------------------------------------

  const page = {
    code: '',
    odds: false,
    show,
    delay(ms) {
      if (skipping || speed === Infinity) return 0;
      return Math.max(1, Math.round(ms / speed));
    },
    sleep(ms) {
      return new Promise((resolve) => {
        pendingSleep = { resolve, timer: setTimeout(() => wake(), ms) };
      });
    },
    yieldToPage() {
      return new Promise((resolve) => {
        yielded.push(resolve);
        channel.port2.postMessage(0);
      });
    },
    readLine() {
      return new Promise((resolve) => {
        pendingRead = resolve;
        input.value = '';
        input.readOnly = false;
        input.placeholder = '输入后按回车';
        setState('reading');
        input.focus({ preventScroll: true });
        stick = true;
        followNewest();
      });
    },
    waitKey() {
      return new Promise((resolve) => {
        pendingKey = resolve;
        setState('key');
      });
    },
    skipping: () => skipping,
    battle(on) {
      skipping = false;
      skipButton.disabled = !on;
    },
    refused(message) {
      showNotice(message, true);
      setState('refused');
    },
    finished(code, seed) {
      shareCode = code;
      copyButton.disabled = code === '';
      copyButton.title = code === '' ? '这一局还不能生成链接' : '';
      $('seed').textContent = '种子 ' + seed;
      ending.hidden = false;
      skipButton.disabled = true;
      setState('finished');
    },
  };

  // ---- Starting a game ----------------------------------------------------------------------

  function showNotice(message, offerFresh) {
    noticeText.textContent = message;
    freshButton.hidden = !offerFresh;
    notice.hidden = false;
  }

  function fail(message) {
    broken = true;
    showNotice('出错了：' + message, true);
    setState('error');
  }

  window.addEventListener('error', (event) => fail(event.message || String(event.error)));
  window.addEventListener('unhandledrejection', (event) => fail(String(event.reason)));

  // ?seed=N: decimal with an optional sign, taken modulo 2^32, as the terminal's --seed.
  function chooseSeed() {
    const text = new URLSearchParams(location.search).get('seed');
    if (text !== null) {
      if (/^[+-]?[0-9]+$/.test(text)) {
        const m = 2n ** 32n;
        return Number(((BigInt(text.replace('+', '')) % m) + m) % m);
      }
      showNotice('种子“' + text + '”不是十进制整数，这一局用随机的种子。', false);
    }
    return crypto.getRandomValues(new Uint32Array(1))[0];
  }

  function start(code) {
    notice.hidden = true;
    ending.hidden = true;
    link.hidden = true;
    copyButton.textContent = '复制链接';
    colour = 0;
    skipping = false;
    clearView();
    setState('narrating');
    page.code = code;
    const seed = chooseSeed();
    game.ccall('morvane_start', 'number', ['number'], [seed], { async: true }).catch((error) =>
      fail(String(error)),
    );
  }

  // A fresh game, and a link without the code it may have had.
  function startFresh() {
    if (broken) {
      location.reload();
      return;
    }
    if (location.hash !== '') history.replaceState(null, '', location.href.replace(/#.*$/, ''));
    start('');
  }

  freshButton.addEventListener('click', startFresh);
  $('again').addEventListener('click', startFresh);

  copyButton.addEventListener('click', async () => {
    const url = location.href.replace(/[?#].*$/, '') + '#' + shareCode;
    try {
      await navigator.clipboard.writeText(url);
      copyButton.textContent = '已复制';
    } catch {
      link.value = url;
      link.hidden = false;
      link.select();
      copyButton.textContent = '请手动复制下面的链接';
    }
  });

  // A new code pasted into the address bar of an open page.
  window.addEventListener('hashchange', () => location.reload());

  function loadModule() {
    if (typeof MorvaneModule === 'function') return Promise.resolve(MorvaneModule);
    // A page opened from disk cannot fetch a .wasm file: it takes the module with it inside.
    const script = document.createElement('script');
    script.src = location.protocol === 'file:' ? 'morvane.single.js' : 'morvane.js';
    return new Promise((resolve, reject) => {
      script.onload = () => resolve(MorvaneModule);
      script.onerror = () => reject(new Error('无法载入 ' + script.src));
      document.head.appendChild(script);
    });
  }

  setOdds(new URLSearchParams(location.search).has('odds'));

  loadModule()
    .then((factory) => factory({ page, onAbort: (what) => fail(String(what)) }))
    .then((module) => {
      game = module;
      start(location.hash.slice(1));
    })
    .catch((error) => fail(error.message || String(error)));
})();
