// Morvane in a web page: the narration, the board, the player's input and the controls around
// the game's rules, which run in the module built from web/main.cpp. The module calls the
// functions of `page` below; a worker (web/worker.js) checks links and plays the silent games of
// the odds before a battle. Nothing the game writes is ever read as HTML.
'use strict';
{
  const $ = (id) => document.getElementById(id);
  const screen = $('screen');
  const answer = $('answer');
  const input = $('line');
  const continueButton = $('continue');
  const skipButton = $('skip');
  const banner = $('banner');
  const copyButton = $('copy');
  const link = $('link');
  const linkHelp = $('link-help');
  const notice = $('notice');
  const noticeText = $('notice-text');
  const freshButton = $('fresh');
  const rematchButton = $('rematch');
  const againButton = $('again');
  const pasteForm = $('paste');
  const pasteBox = $('teams');

  // Silent games for the odds before a battle, and how long they may take in the worker.
  const PREFIGHT_GAMES = 4000;
  const PREFIGHT_MS = 3000;
  const fromDisk = location.protocol === 'file:';

  let game = null; // the module, once loaded
  let speed = 1; // pauses are divided by it; Infinity: none
  let skipping = false; // to the end of the current fight
  let pendingRead = null;
  let pendingKey = null;
  let pendingSleep = null;
  let running = false; // a game is being played (or its link checked)
  let broken = false; // the module failed: only a reload can help
  let current = null; // the game being played: its answers, battles, outcome
  let queued = []; // answers given ahead (a rematch, pasted teams), taken before asking
  const typed = []; // what the player typed, for ↑ and ↓
  let recall = 0;
  let firstGame = true;

  const setState = (state) => {
    document.body.dataset.state = state;
  };

  const board = window.MorvaneBoard.create({
    root: $('board'),
    teamsBox: $('teams-box'),
    prefight: $('prefight'),
  });
  const narration = window.MorvaneNarration.create({
    screen,
    view: $('view'),
    latest: $('latest'),
    onFrame(markers) {
      board.update(markers.filter((m) => m.board).map((m) => m.board));
      if (markers.some((m) => m.round)) summarise();
    },
  });

  // ---- Focus and announcements ----

  // Focus moves to what the player needs next; never left on the page's body.
  function focusOn(target) {
    if (target && !target.hidden && !target.disabled) target.focus({ preventScroll: true });
  }

  // "只播报回合总结": a screen reader hears a summary of each round instead of every line.
  const summary = $('summary');
  const summaryButton = $('summary-only');
  function setSummaryOnly(on) {
    summaryButton.setAttribute('aria-pressed', String(on));
    screen.setAttribute('aria-live', on ? 'off' : 'polite');
    summary.setAttribute('aria-live', on ? 'polite' : 'off');
    try {
      localStorage.setItem('morvane.summaryOnly', on ? '1' : '');
    } catch {
      // Storage may be refused (a page from disk, a private window): the choice lasts this visit.
    }
  }
  summaryButton.addEventListener('click', () =>
    setSummaryOnly(summaryButton.getAttribute('aria-pressed') !== 'true'),
  );

  function summarise() {
    const standing = board.standing();
    const parts = [...standing.entries()]
      .sort(([x], [y]) => x - y)
      .map(([team, members]) => `第${team}队剩${members.length}人`);
    current.rounds += 1;
    summary.textContent = `第${current.rounds}回合结束：${parts.join('，') || '无人站着'}`;
  }

  // ---- Pacing ----

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

  // The live odds: shown after every battle round while the button is pressed, with the odds
  // before the battle from silent games. `?odds` in the address presses it from the start.
  const oddsButton = $('odds');
  function setOdds(on) {
    page.odds = on;
    oddsButton.setAttribute('aria-pressed', String(on));
    if (on && current?.battles > 0) prefight();
  }
  oddsButton.addEventListener('click', () => setOdds(!page.odds));

  // On a phone the less used controls fold behind ⋯, so that the rest fit one row: the menu
  // closes once a choice is made, on Escape, and on a tap elsewhere.
  const controls = $('controls');
  const moreButton = $('more');
  function setMore(open) {
    controls.classList.toggle('open', open);
    moreButton.setAttribute('aria-expanded', String(open));
  }
  moreButton.addEventListener('click', () => setMore(!controls.classList.contains('open')));
  for (const item of $('extras').querySelectorAll('button')) {
    item.addEventListener('click', () => setMore(false));
  }
  controls.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape' || !controls.classList.contains('open')) return;
    event.stopPropagation();
    setMore(false);
    moreButton.focus();
  });
  document.addEventListener('pointerdown', (event) => {
    if (!controls.contains(event.target)) setMore(false);
  });

  skipButton.addEventListener('click', () => {
    skipping = true;
    setSkip(false);
    wake();
  });

  function setSkip(enabled) {
    const hadFocus = document.activeElement === skipButton;
    skipButton.disabled = !enabled;
    if (hadFocus && !enabled) focusOn(screen);
  }

  // Handing the thread back to the page without the clamping of nested timers.
  const channel = new MessageChannel();
  const yielded = [];
  channel.port1.onmessage = () => yielded.shift()();

  // ---- The player's answers ----

  function give(text) {
    const resolve = pendingRead;
    pendingRead = null;
    narration.echo(text);
    setState('narrating');
    resolve(text);
  }

  answer.addEventListener('submit', (event) => {
    event.preventDefault();
    const text = input.value;
    input.value = '';
    // Only a read waiting for it takes a line: what was typed during the narration is dropped.
    if (pendingRead === null) return;
    if (text.trim() !== '' && typed.at(-1) !== text) typed.push(text);
    recall = typed.length;
    give(text);
  });

  // ↑ and ↓ go through the answers typed before, as in a shell.
  input.addEventListener('keydown', (event) => {
    if (event.key !== 'ArrowUp' && event.key !== 'ArrowDown') return;
    if (typed.length === 0) return;
    event.preventDefault();
    recall = Math.max(0, Math.min(typed.length, recall + (event.key === 'ArrowUp' ? -1 : 1)));
    input.value = typed[recall] ?? '';
    input.setSelectionRange(input.value.length, input.value.length);
  });

  function keyContinues(event) {
    if (pendingKey === null || event.repeat || event.ctrlKey || event.metaKey || event.altKey) {
      return;
    }
    if (['Shift', 'Control', 'Alt', 'Meta', 'CapsLock', 'Tab'].includes(event.key)) return;
    // Keys that scroll the narration scroll it.
    if (event.target === screen && /^(Arrow|Page|Home|End)/.test(event.key)) return;
    if (event.target.closest?.('#paste')) return;
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
  screen.addEventListener('click', () => {
    if (getSelection().isCollapsed) continueGame();
  });
  continueButton.addEventListener('click', continueGame);

  // "粘贴所有队伍": one team per line, given as the team match's answers from where the game is.
  $('paste-open').addEventListener('click', () => {
    pasteForm.hidden = false;
    pasteBox.focus();
  });
  $('paste-close').addEventListener('click', () => {
    pasteForm.hidden = true;
    focusOn(pendingRead ? input : screen);
  });
  pasteForm.addEventListener('submit', (event) => {
    event.preventDefault();
    const teams = pasteBox.value
      .split(/\r?\n/)
      .map((line) => line.trim())
      .filter((line) => line !== '');
    if (teams.length === 0) return;
    pasteForm.hidden = true;
    const asked = current && running ? current.answers.length : 0;
    const ahead = [];
    if (asked === 0) ahead.push('1');
    if (asked <= 1) ahead.push(String(teams.length));
    queued = [...ahead, ...teams];
    if (!running) startFresh();
    else if (pendingKey) continueGame();
    else if (pendingRead) give(queued.shift());
  });

  // ---- What the module calls ----

  const page = {
    code: '',
    odds: false,
    show: (text) => narration.show(text),
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
        if (queued.length > 0) {
          give(queued.shift());
          return;
        }
        narration.whenDrawn(() => {
          input.value = '';
          setState('reading');
          narration.follow();
          focusOn(input);
        });
      });
    },
    waitKey() {
      return new Promise((resolve) => {
        pendingKey = resolve;
        if (queued.length > 0) {
          continueGame();
          return;
        }
        narration.whenDrawn(() => {
          if (pendingKey === null) return;
          setState('key');
          focusOn(continueButton);
        });
      });
    },
    skipping: () => skipping,
    battle(on) {
      skipping = false;
      setSkip(on);
      if (!on) return;
      current.battles += 1;
      current.rounds = 0;
      current.series = [];
      if (current.battles === 1 && page.odds) prefight();
    },
    // A game begins: a fresh one, or a link's fight (a replay) with its seed and round cap.
    starting(replay, seed, maxRounds) {
      current.maxRounds = maxRounds;
      if (!replay) return;
      $('replay-seed').textContent = String(seed);
      $('replay-header').hidden = false;
    },
    answered(isNumber, text) {
      current.answers.push(text);
      if (current.mode === null && isNumber) current.mode = Number(text);
      if (current.replay) narration.echo(text);
    },
    roster(numbers, labels) {
      narration.mark({ board: { numbers, labels } });
    },
    roundEnded() {
      narration.mark({ round: true });
    },
    roundOdds(teams, wins, played, noWinner, undecided) {
      current.series.push({ teams, wins, played, noWinner, undecided });
    },
    refused(message) {
      showNotice(message, true);
      setState('refused');
      focusOn(freshButton);
    },
    finished(code, seed) {
      const mine = current;
      mine.code = code;
      setSkip(false);
      narration.whenDrawn(() => {
        if (current !== mine) return;
        showEnding(seed);
        setState('finished');
        focusOn(rematchButton.hidden ? againButton : rematchButton);
      });
    },
  };

  // ---- The ending ----

  // The outcome as the game left it: the winning team and who stands, a draw at the round cap,
  // the endless level reached, the author's fight. [title, detail, names standing]
  function outcome() {
    const standing = board.standing();
    const fighters = board.fighters();
    if (current.battles === 0) return ['游戏结束', '这一局没有战斗。', []];
    if (current.mode === 3) {
      const me = fighters[0];
      const enemies = fighters.some((f) => f.team !== 1 && f.hp > 0);
      const level = current.battles + (me && me.hp > 0 && !enemies ? 1 : 0);
      return [`无尽模式：你挑战到第${level}关`, `共打了${current.battles}场战斗。`, []];
    }
    if (standing.size > 1) {
      return ['平局', `战斗超过${current.maxRounds}回合仍未分出胜负。`, []];
    }
    if (standing.size === 0) return ['无人生还', '所有人都倒下了。', []];
    const [[team, members]] = standing;
    if (current.mode === 4 && team === 2) return ['作者获胜', '三个挑战者都倒下了。', []];
    const title = current.mode === 4 ? '挑战者战胜了作者！' : `第${team}队获胜`;
    return [title, '仍然站着的：', members.map((f) => f.name)];
  }

  function showEnding(seed) {
    const [title, detail, names] = outcome();
    $('outcome').textContent = title;
    // Each name apart from the text around it; the first dozen only.
    const parts = [detail];
    names.slice(0, 12).forEach((name, k) => {
      const shown = document.createElement('bdi');
      shown.textContent = window.MorvaneNarration.visible(name).slice(0, 40);
      parts.push(...(k > 0 ? ['、'] : []), shown);
    });
    if (names.length > 12) parts.push(` 等${names.length}人`);
    $('outcome-detail').replaceChildren(...parts);
    // The sides as the odds lines name them.
    const sides = { 3: ['你', '敌人'], 4: ['挑战者', '作者'] }[current.mode];
    const chart = window.MorvaneBoard.chart(current.series, (team) =>
      sides && team <= 2 ? sides[team - 1] : `第${team}队`,
    );
    $('chart').replaceChildren(...(chart ? [chart] : []));
    $('chart').hidden = chart === null;
    rematchButton.hidden = current.answers.length === 0;
    copyButton.disabled = current.code === '';
    copyButton.title = current.code === '' ? '这一局还不能生成链接' : '';
    $('seed').textContent = `种子 ${seed}` + (current.fixedSeed ? '（地址指定）' : '');
    banner.hidden = false;
    summary.textContent = `游戏结束。${title}。${$('outcome-detail').textContent}`;
  }

  // ---- The worker: links checked and silent games played off the page's thread ----

  let worker = null;
  let workerJobs = new Map();
  let workerId = 0;

  function workerSource() {
    // The module in one file keeps its own source: a worker can be made of it anywhere, a page
    // opened from disk included.
    const module = window.MorvaneModuleSource;
    return (
      `var MorvaneModule = (${module})();\n` +
      `(${window.morvaneWorker})(self, () => MorvaneModule({}));\n`
    );
  }

  function startWorker() {
    if (worker !== null) return worker;
    try {
      if (typeof window.MorvaneModuleSource === 'function') {
        const url = URL.createObjectURL(new Blob([workerSource()], { type: 'text/javascript' }));
        worker = new Worker(url);
      } else {
        worker = new Worker('worker.js');
      }
    } catch {
      return null;
    }
    let started = false;
    worker.onmessage = ({ data }) => {
      started = true;
      const job = workerJobs.get(data.id);
      workerJobs.delete(data.id);
      job?.resolve(data);
    };
    // A worker that could not start leaves the page to do without one (null); one that failed
    // at its work refuses it.
    worker.onerror = (event) => {
      event.preventDefault();
      stopWorker(started ? { ok: false, message: '检查这个链接时出错了，无法回放' } : null);
    };
    return worker;
  }

  // Ends whatever the worker is doing (a link that takes long to check, odds no longer wanted).
  function stopWorker(reply = null) {
    worker?.terminate();
    worker = null;
    for (const job of workerJobs.values()) job.resolve(reply);
    workerJobs = new Map();
  }

  function ask(message) {
    const w = startWorker();
    if (w === null) return Promise.resolve(null);
    const id = ++workerId;
    return new Promise((resolve) => {
      workerJobs.set(id, { resolve });
      w.postMessage({ ...message, id });
    });
  }

  function prefight() {
    const mine = current;
    if (mine.prefight || (mine.mode !== 1 && mine.mode !== 2)) return;
    const lines = mine.answers.filter((_, k) => k >= 2);
    if (lines.length < 2) return;
    mine.prefight = true;
    const seed = crypto.getRandomValues(new Uint32Array(1))[0];
    const started = performance.now();
    ask({ kind: 'odds', mode: mine.mode, lines, seed, most: PREFIGHT_GAMES, budget: PREFIGHT_MS }).then(
      (reply) => {
        if (!reply?.tally || current !== mine) return;
        mine.prefightMs = performance.now() - started;
        board.showPrefight(reply.tally);
      },
    );
  }

  // ---- Starting a game ----

  function showNotice(message, offerFresh) {
    noticeText.textContent = message;
    freshButton.hidden = !offerFresh;
    notice.hidden = false;
  }

  function fail(message, detail = '') {
    broken = true;
    running = false;
    showNotice(message, true);
    $('notice-detail').textContent = detail;
    $('notice-more').hidden = detail === '';
    setState('error');
    focusOn(freshButton);
  }

  window.addEventListener('error', (event) =>
    fail('出错了，请刷新页面再试。', event.message || String(event.error)),
  );
  window.addEventListener('unhandledrejection', (event) =>
    fail('出错了，请刷新页面再试。', String(event.reason)),
  );

  // ?seed=N: decimal with an optional sign, taken modulo 2^32, as the terminal's --seed. It fixes
  // the first game's seed only: the games after it draw their own.
  function chooseSeed() {
    const text = firstGame ? new URLSearchParams(location.search).get('seed') : null;
    if (text !== null) {
      if (/^[+-]?[0-9]+$/.test(text)) {
        const m = 2n ** 32n;
        return [Number(((BigInt(text.replace('+', '')) % m) + m) % m), true];
      }
      showNotice('种子“' + text + '”不是十进制整数，这一局用随机的种子。', false);
    }
    return [crypto.getRandomValues(new Uint32Array(1))[0], false];
  }

  function start(code) {
    if (running || broken) return; // one game at a time
    running = true;
    notice.hidden = true;
    banner.hidden = true;
    link.hidden = true;
    linkHelp.hidden = true;
    copyButton.textContent = '复制链接';
    skipping = false;
    narration.clear();
    board.reset();
    const [seed, fixedSeed] = code === '' ? chooseSeed() : [0, false];
    if (!firstGame && location.search !== '') {
      history.replaceState(null, '', location.href.replace(/\?[^#]*/, ''));
    }
    firstGame = false;
    current = {
      answers: [],
      mode: null,
      battles: 0,
      rounds: 0,
      series: [],
      replay: code !== '',
      fixedSeed,
      maxRounds: 100000,
      code: '',
    };
    page.code = code;
    $('replay-header').hidden = true;
    if (code === '') {
      play(seed, 0);
      return;
    }
    setState('checking');
    $('checking').hidden = false;
    ask({ kind: 'check', code }).then((reply) => {
      $('checking').hidden = true;
      if (!running || page.code !== code) return;
      if (reply !== null && !reply.ok) {
        // A fight stopped at the budget leaves the worker's memory as it was: a fresh one next.
        stopWorker();
        running = false;
        page.refused(reply.message);
        return;
      }
      // Without a worker the page checks the link itself.
      play(0, reply === null ? 0 : 1);
    });
  }

  function play(seed, checked) {
    setState('narrating');
    game
      .ccall('morvane_start', 'number', ['number', 'number'], [seed, checked], { async: true })
      .then(() => {
        running = false;
      })
      .catch((error) => fail('出错了，请刷新页面再试。', String(error)));
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

  freshButton.addEventListener('click', () => {
    if (running && current?.replay) {
      // A link still being checked: stop checking it.
      stopWorker();
      running = false;
    }
    queued = [];
    startFresh();
  });
  againButton.addEventListener('click', () => {
    queued = [];
    startFresh();
  });
  $('cancel-check').addEventListener('click', () => freshButton.click());
  // The same answers, with a seed of its own.
  rematchButton.addEventListener('click', () => {
    if (running) return;
    queued = [...current.answers];
    startFresh();
  });

  $('download').addEventListener('click', () => {
    const url = URL.createObjectURL(new Blob([narration.text()], { type: 'text/plain' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = `morvane-${$('seed').textContent.replace(/\D+/g, '') || 'game'}.txt`;
    a.click();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  });

  copyButton.addEventListener('click', async () => {
    // A page opened from disk has no address to share: the code itself is offered.
    if (fromDisk) {
      link.value = current.code;
      link.hidden = false;
      linkHelp.hidden = false;
      link.select();
      copyButton.textContent = '请复制下面的回放码';
      return;
    }
    const url = location.href.replace(/[?#].*$/, '') + '#' + current.code;
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
    script.src = fromDisk ? 'morvane.single.js' : 'morvane.js';
    return new Promise((resolve, reject) => {
      script.onload = () => resolve(MorvaneModule);
      script.onerror = () => reject(new Error('无法载入 ' + script.src));
      document.head.appendChild(script);
    });
  }

  // Offline after the first visit: the served page keeps its files (a page from disk has them).
  if (!fromDisk && 'serviceWorker' in navigator && $('manifest-link') === null) {
    const manifest = document.createElement('link');
    manifest.id = 'manifest-link';
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.appendChild(manifest);
    navigator.serviceWorker.register('sw.js').catch(() => {
      // Without it the page still plays; it only needs the network next time.
    });
  }

  // For tests and the curious: the whole narration as lines of [colour, text] runs, and how
  // long the odds before the last battle took to come, in milliseconds.
  window.morvanePage = {
    narration: () => narration.lines(),
    prefightMs: () => current?.prefightMs,
  };

  setOdds(new URLSearchParams(location.search).has('odds'));
  let summaryOnly = false;
  try {
    summaryOnly = localStorage.getItem('morvane.summaryOnly') === '1';
  } catch {
    summaryOnly = false;
  }
  setSummaryOnly(summaryOnly);

  loadModule()
    .then((factory) =>
      factory({
        page,
        onAbort: (what) =>
          fail('游戏文件没能完整载入，请检查网络后刷新页面。', String(what ?? '')),
      }),
    )
    .then((module) => {
      game = module;
      start(location.hash.slice(1));
    })
    .catch((error) =>
      fail('游戏没能载入，请检查网络后刷新页面。', error.message || String(error)),
    );
}
