// The narration view: the game's text as lines of coloured runs, drawn at most once per
// animation frame and kept to the newest few thousand lines, with the whole game kept as text
// (downloadable). It follows the newest line unless the player has scrolled up, and follows
// again on any change of size. Nothing the game writes is ever read as HTML.
'use strict';
window.MorvaneNarration = (() => {
  // Lines kept in the view; older ones stay in the game's text only.
  const MAX_LINES = 1000;
  // Lines drawn in one frame at most; the rest wait for the frames after.
  const FRAME_LINES = 300;
  // How long after the player's own wheel, touch or key a scroll is taken as theirs.
  const INTENT_MS = 700;

  // Control characters would be invisible or do something on the way: each is shown as a
  // character of its own. C0 controls and DEL as their control pictures (␛ for ESC), C1
  // controls and the line and paragraph separators as U+FFFD.
  const CONTROL = /[\x00-\x08\x0b-\x1f\x7f-\x9f\u2028\u2029]/g;
  const visible = (text) =>
    text.replace(CONTROL, (c) => {
      const code = c.charCodeAt(0);
      if (code < 0x20) return String.fromCharCode(0x2400 + code);
      return code === 0x7f ? '\u2421' : '\ufffd';
    });

  // Cuts page-stream text into tokens: runs of one colour, line ends, clears. The escape byte
  // 0x01 comes before a colour, a clear, the start or end of a name kept apart, or itself (see
  // src/console/browser_console.hpp).
  function tokenize(text, state, out) {
    const special = /[\n\x01]/g;
    let from = 0;
    let match;
    const run = (piece) => {
      if (piece !== '') out.push({ colour: state.colour, text: piece, isolate: state.isolate });
    };
    while ((match = special.exec(text)) !== null) {
      run(text.slice(from, match.index));
      from = special.lastIndex;
      if (match[0] === '\n') {
        out.push('end');
        continue;
      }
      const code = text[from];
      from += 1;
      special.lastIndex = from;
      if (code === 'C') out.push('clear');
      else if (code === 'I') state.isolate = true;
      else if (code === 'i') state.isolate = false;
      else if (code >= '0' && code <= '7') state.colour = code.charCodeAt(0) - 48;
      else if (code !== undefined) run(code);
    }
    run(text.slice(from));
  }

  function create({ screen, view, latest, onFrame }) {
    const transcript = []; // the page stream as received, and {echo} for what was answered
    let pending = []; // tokens not yet drawn, and {board}, {round} markers
    let streamState = { colour: 0, isolate: false };
    let openLine = null;
    let frameQueued = 0;
    let follow = true;
    let intentUntil = 0;
    let pointerDown = false;

    function newLine(into) {
      openLine = document.createElement('div');
      openLine.className = 'line open';
      into.appendChild(openLine);
    }

    function endLine() {
      openLine.classList.remove('open');
    }

    function addRun(token) {
      const span = document.createElement(token.isolate ? 'bdi' : 'span');
      span.className = 'c' + token.colour;
      span.textContent = visible(token.text);
      openLine.appendChild(span);
    }

    function addEcho(text) {
      const echo = document.createElement('bdi');
      echo.className = 'echo';
      echo.textContent = visible(text);
      openLine.appendChild(echo);
    }

    // Draws what came since the last frame, at most FRAME_LINES lines of it (the rest in the
    // frames after). Lines that the view would drop at once are never made into elements: a big
    // fight at instant speed hands over thousands at a time. Returns the markers drawn past.
    function draw() {
      const tokens = pending;
      let start = 0;
      for (let k = tokens.length - 1; k >= 0; --k) {
        if (tokens[k] === 'clear') {
          start = k + 1;
          break;
        }
      }
      const markers = tokens.slice(0, start).filter((t) => t.board !== undefined || t.round !== undefined);
      let ends = 0;
      for (let k = start; k < tokens.length; ++k) if (tokens[k] === 'end') ++ends;
      let skip = Math.max(0, ends - MAX_LINES);
      const fresh = start > 0 || skip > 0;
      const into = document.createDocumentFragment();
      if (fresh && skip === 0) newLine(into);
      let drawn = 0;
      let k = start;
      for (; k < tokens.length; ++k) {
        const token = tokens[k];
        if (token === 'end') {
          if (skip > 0) {
            --skip;
            if (skip === 0) newLine(into);
          } else {
            endLine();
            newLine(into);
            if (++drawn >= FRAME_LINES) {
              ++k;
              break;
            }
          }
        } else if (token.board !== undefined || token.round !== undefined) {
          markers.push(token);
        } else if (skip > 0) {
          continue;
        } else if (token.echo !== undefined) {
          addEcho(token.echo);
        } else {
          addRun(token);
        }
      }
      pending = tokens.slice(k);
      if (fresh) view.replaceChildren(into);
      else view.appendChild(into);
      trim();
      return markers;
    }

    function trim() {
      const extra = view.childElementCount - MAX_LINES;
      if (extra < MAX_LINES / 10) return;
      const range = document.createRange();
      range.setStartBefore(view.firstElementChild);
      range.setEndAfter(view.children[extra - 1]);
      range.deleteContents();
    }

    function frame() {
      frameQueued = 0;
      if (pending.length === 0) return;
      const markers = draw();
      onFrame(markers);
      if (follow) toEnd();
      if (pending.length > 0) schedule();
    }

    function schedule() {
      if (frameQueued === 0) frameQueued = requestAnimationFrame(frame);
    }

    // ---- Following the newest line ----

    // Lines out of sight have no layout until they come into sight (see style.css), so the
    // height can change once the last ones are laid out: go on until it stays.
    function toEnd() {
      for (let k = 0; k < 4 && !atEnd(); ++k) screen.scrollTop = screen.scrollHeight;
    }

    function setFollow(on) {
      follow = on;
      latest.hidden = on;
      if (on) toEnd();
    }

    const atEnd = () => screen.scrollHeight - screen.scrollTop - screen.clientHeight < 8;
    const intent = () => {
      intentUntil = performance.now() + INTENT_MS;
    };
    // Only a scroll the player made can stop the following: the page's own scrolls (which the
    // browser reports a frame later, when more lines may have come) never do.
    screen.addEventListener('wheel', intent, { passive: true });
    screen.addEventListener('touchmove', intent, { passive: true });
    screen.addEventListener('keydown', (event) => {
      if (/^(Arrow|Page|Home|End| )/.test(event.key)) intent();
    });
    screen.addEventListener('pointerdown', () => {
      pointerDown = true;
    });
    window.addEventListener('pointerup', () => {
      if (pointerDown) intent();
      pointerDown = false;
    });
    screen.addEventListener(
      'scroll',
      () => {
        const mine = pointerDown || performance.now() < intentUntil;
        if (atEnd()) setFollow(true);
        else if (mine) setFollow(false);
      },
      { passive: true },
    );
    latest.addEventListener('click', () => setFollow(true));
    // A view that changes size (a phone's keyboard, a window resized, the board or the controls
    // growing) follows the newest line again.
    new ResizeObserver(() => {
      if (!pointerDown) setFollow(true);
    }).observe(screen);

    // ---- What the page calls ----

    return {
      show(text) {
        transcript.push(text);
        tokenize(text, streamState, pending);
        schedule();
      },
      echo(text) {
        transcript.push({ echo: text });
        pending.push({ echo: text });
        schedule();
      },
      // A marker drawn with the narration before it: its frame sees it once that text is shown.
      mark(marker) {
        pending.push(marker);
        schedule();
      },
      // Calls `then` once everything handed over is drawn: at once, or after the next frame (so
      // that drawing never adds to the task that handed it over).
      whenDrawn(then) {
        if (pending.length === 0) then();
        else requestAnimationFrame(() => (pending.length === 0 ? then() : this.whenDrawn(then)));
      },
      follow: () => setFollow(true),
      following: () => follow,
      clear() {
        transcript.length = 0;
        pending = [];
        streamState = { colour: 0, isolate: false };
        const into = document.createDocumentFragment();
        newLine(into);
        view.replaceChildren(into);
        setFollow(true);
      },
      // The game's whole narration as lines of [colour, text] runs (answers left out), as the
      // terminal shows it: a clear does not cut a line.
      lines() {
        const state = { colour: 0, isolate: false };
        const tokens = [];
        for (const piece of transcript) if (typeof piece === 'string') tokenize(piece, state, tokens);
        const lines = [[]];
        for (const token of tokens) {
          if (token === 'end') lines.push([]);
          else if (token !== 'clear') lines.at(-1).push([token.colour, token.text]);
        }
        return lines;
      },
      // The game as plain text, answers included where they were given.
      text() {
        return transcript
          .map((piece) =>
            typeof piece === 'string'
              ? piece.replace(/\x01([\x01])|\x01./g, '$1')
              : piece.echo + '\n',
          )
          .join('');
      },
    };
  }

  return { create, visible };
})();
