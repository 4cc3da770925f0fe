// The narration view: the game's text as lines of coloured runs, drawn at most once per
// animation frame and kept to the newest few thousand lines, with the whole game kept as text
// (downloadable). It follows the newest line unless the player has scrolled up, and follows
// again on any change of size. Nothing the game writes is ever read as HTML.
'use strict';
{
  // Lines kept in the view; older ones stay in the game's text only.
  const MAX_LINES = 1000;
  // Lines drawn in one frame at most, and the time a frame's drawing may take (checked at each
  // line's end); the rest wait for the frames after. The browser lays out and paints what was
  // drawn in the same task, so fewer lines a frame keep that task short: a thousand fighters'
  // fight at instant speed then ends about 0.1 s later, with no task near 100 ms.
  const FRAME_LINES = 100;
  const FRAME_MS = 6;
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

  const isMarker = (token) => token.board !== undefined || token.round !== undefined;

  class Narration {
    #screen;
    #view;
    #latest;
    #onFrame;
    #transcript = []; // the page stream as received, and {echo} for what was answered
    #pending = []; // tokens not yet drawn, and {board}, {round} markers
    #stream = { colour: 0, isolate: false };
    #openLine = null;
    #frameQueued = 0;
    #follow = true;
    #intentUntil = 0;
    #pointerDown = false;

    // `onFrame(markers)` is called after each frame's drawing with the markers drawn past.
    constructor({ screen, view, latest, onFrame }) {
      this.#screen = screen;
      this.#view = view;
      this.#latest = latest;
      this.#onFrame = onFrame;
      this.#listen();
    }

    // ---- What the page calls ----

    show(text) {
      this.#transcript.push(text);
      tokenize(text, this.#stream, this.#pending);
      this.#schedule();
    }

    echo(text) {
      this.#transcript.push({ echo: text });
      this.#pending.push({ echo: text });
      this.#schedule();
    }

    // A marker drawn with the narration before it: its frame sees it once that text is shown.
    mark(marker) {
      this.#pending.push(marker);
      this.#schedule();
    }

    // Calls `then` once everything handed over is drawn: at once, or after the next frame (so
    // that drawing never adds to the task that handed it over).
    whenDrawn(then) {
      if (this.#pending.length === 0) then();
      else requestAnimationFrame(() => this.whenDrawn(then));
    }

    follow() {
      this.#setFollow(true);
    }

    clear() {
      this.#transcript = [];
      this.#pending = [];
      this.#stream = { colour: 0, isolate: false };
      const into = document.createDocumentFragment();
      this.#newLine(into);
      this.#view.replaceChildren(into);
      this.#setFollow(true);
    }

    // The game's whole narration as lines of [colour, text] runs (answers left out), as the
    // terminal shows it: a clear does not cut a line.
    lines() {
      const state = { colour: 0, isolate: false };
      const tokens = [];
      for (const piece of this.#transcript) {
        if (typeof piece === 'string') tokenize(piece, state, tokens);
      }
      const lines = [[]];
      for (const token of tokens) {
        if (token === 'end') lines.push([]);
        else if (token !== 'clear') lines.at(-1).push([token.colour, token.text]);
      }
      return lines;
    }

    // The game as plain text, answers included where they were given.
    text() {
      return this.#transcript
        .map((piece) =>
          typeof piece === 'string'
            ? piece.replace(/\x01([\x01])|\x01./g, '$1')
            : piece.echo + '\n',
        )
        .join('');
    }

    // ---- Drawing ----

    #newLine(into) {
      this.#openLine = document.createElement('div');
      this.#openLine.className = 'line open';
      into.appendChild(this.#openLine);
    }

    #addRun(token) {
      const span = document.createElement(token.isolate ? 'bdi' : 'span');
      span.className = 'c' + token.colour;
      span.textContent = visible(token.text);
      this.#openLine.appendChild(span);
    }

    #addEcho(text) {
      const echo = document.createElement('bdi');
      echo.className = 'echo';
      echo.textContent = visible(text);
      this.#openLine.appendChild(echo);
    }

    // Draws what came since the last frame, at most FRAME_LINES lines of it or FRAME_MS of work
    // (the rest in the frames after). Lines that the view would drop at once are never made into
    // elements: a big fight at instant speed hands over thousands at a time. Returns the markers
    // drawn past.
    #draw() {
      const tokens = this.#pending;
      const start = tokens.lastIndexOf('clear') + 1;
      const markers = tokens.slice(0, start).filter(isMarker);
      let skip = Math.max(0, tokens.slice(start).filter((t) => t === 'end').length - MAX_LINES);
      const fresh = start > 0 || skip > 0;
      const into = document.createDocumentFragment();
      if (fresh && skip === 0) this.#newLine(into);
      let drawn = 0;
      let full = false;
      let k = start;
      const until = performance.now() + FRAME_MS;
      for (; k < tokens.length && !full; ++k) {
        const token = tokens[k];
        if (isMarker(token)) {
          markers.push(token);
        } else if (token === 'end' && skip > 0) {
          // The last line skipped ends: the next one is drawn.
          if (--skip === 0) this.#newLine(into);
        } else if (token === 'end') {
          this.#openLine.classList.remove('open');
          this.#newLine(into);
          ++drawn;
          full = drawn >= FRAME_LINES || performance.now() > until;
        } else if (skip === 0) {
          if (token.echo !== undefined) this.#addEcho(token.echo);
          else this.#addRun(token);
        }
      }
      this.#pending = tokens.slice(k);
      if (fresh) this.#view.replaceChildren(into);
      else this.#view.appendChild(into);
      this.#trim();
      return markers;
    }

    #trim() {
      const view = this.#view;
      const extra = view.childElementCount - MAX_LINES;
      if (extra < MAX_LINES / 10) return;
      const range = document.createRange();
      range.setStartBefore(view.firstElementChild);
      range.setEndAfter(view.children[extra - 1]);
      range.deleteContents();
    }

    #frame() {
      this.#frameQueued = 0;
      if (this.#pending.length === 0) return;
      const markers = this.#draw();
      this.#onFrame(markers);
      if (this.#follow) this.#toEnd();
      if (this.#pending.length > 0) this.#schedule();
    }

    #schedule() {
      if (this.#frameQueued === 0) this.#frameQueued = requestAnimationFrame(() => this.#frame());
    }

    // ---- Following the newest line ----

    #atEnd() {
      const screen = this.#screen;
      return screen.scrollHeight - screen.scrollTop - screen.clientHeight < 8;
    }

    // Lines out of sight have no layout until they come into sight (see style.css), so the
    // height can change once the last ones are laid out: go on until it stays.
    #toEnd() {
      for (let k = 0; k < 4 && !this.#atEnd(); ++k) this.#screen.scrollTop = this.#screen.scrollHeight;
    }

    #setFollow(on) {
      this.#follow = on;
      this.#latest.hidden = on;
      if (on) this.#toEnd();
    }

    // Only a scroll the player made can stop the following: the page's own scrolls (which the
    // browser reports a frame later, when more lines may have come) never do. A view that
    // changes size (a phone's keyboard, a window resized, the board or the controls growing)
    // follows the newest line again.
    #listen() {
      const screen = this.#screen;
      const intent = () => {
        this.#intentUntil = performance.now() + INTENT_MS;
      };
      screen.addEventListener('wheel', intent, { passive: true });
      screen.addEventListener('touchmove', intent, { passive: true });
      screen.addEventListener('keydown', (event) => {
        if (/^(Arrow|Page|Home|End| )/.test(event.key)) intent();
      });
      screen.addEventListener('pointerdown', () => {
        this.#pointerDown = true;
      });
      window.addEventListener('pointerup', () => {
        if (this.#pointerDown) intent();
        this.#pointerDown = false;
      });
      const scrolled = () => {
        const mine = this.#pointerDown || performance.now() < this.#intentUntil;
        if (this.#atEnd()) this.#setFollow(true);
        else if (mine) this.#setFollow(false);
      };
      screen.addEventListener('scroll', scrolled, { passive: true });
      this.#latest.addEventListener('click', () => this.#setFollow(true));
      new ResizeObserver(() => {
        if (!this.#pointerDown) this.#setFollow(true);
      }).observe(screen);
    }
  }

  window.MorvaneNarration = { create: (parts) => new Narration(parts), visible };
}
