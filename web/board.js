// The battle board beside the narration: every fighter of every team with a health bar (an
// accessible meter), attribute, status and whether they have fallen, each team's total, and the
// odds before the battle; after the game, the outcome and a chart of each team's chance round by
// round. It draws the roster the game hands over with the narration (web/roster_view.cpp), in
// step with the lines shown, and never changes the game.
'use strict';
{
  // Past this many fighters the teams show as bars, each team's fighters on demand.
  const FOLD_FROM = 24;
  // Longer names are cut on the board (the narration shows them whole).
  const NAME_SHOWN = 24;
  const BADGES = ['', '水牢', '冰块', '冻伤', '钻心', '流血', '无敌'];
  const FIELDS = 5; // hit points, maximum, attribute, status, team

  const visible = window.MorvaneNarration.visible;
  const decoder = new TextDecoder();

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  const shortName = (name) => {
    const shown = visible(name);
    const chars = Array.from(shown);
    return chars.length > NAME_SHOWN ? chars.slice(0, NAME_SHOWN - 1).join('') + '…' : shown;
  };

  // A bar with role="meter": its value is the hit points as the game has them (wrapped values
  // included); only the drawing is held between empty and full.
  function meter(className) {
    const bar = element('div', 'bar ' + className);
    bar.setAttribute('role', 'meter');
    bar.appendChild(element('i'));
    return bar;
  }

  function setMeter(bar, value, maximum, label) {
    bar.setAttribute('aria-valuenow', String(value));
    bar.setAttribute('aria-valuemin', String(Math.min(0, value)));
    bar.setAttribute('aria-valuemax', String(Math.max(maximum, value, 1)));
    bar.setAttribute('aria-valuetext', `${value}/${maximum}`);
    if (label !== undefined) bar.setAttribute('aria-label', label);
    const share = maximum > 0 ? Math.min(1, Math.max(0, value / maximum)) : 0;
    bar.firstChild.style.width = (share * 100).toFixed(1) + '%';
    bar.classList.toggle('low', share < 0.3);
  }

  // A fighter's row, its parts kept on the fighter for painting.
  function row(f) {
    const li = element('li', 'fighter');
    const top = element('div', 'who');
    f.nameNode = element('bdi', 'name');
    f.attrNode = element('span', 'attr');
    f.badgeNode = element('span', 'badge');
    top.append(f.nameNode, f.attrNode, f.badgeNode);
    f.bar = meter('hp');
    f.hpNode = element('span', 'hp');
    li.append(top, f.bar, f.hpNode);
    li.dataset.slot = String(f.slot);
    f.row = li;
    f.shown = {};
    return li;
  }

  function paint(f) {
    const s = f.shown;
    if (s.name !== f.name) {
      f.nameNode.textContent = shortName(f.name);
      f.nameNode.title = f.name.length > NAME_SHOWN ? visible(f.name).slice(0, 200) : '';
      f.attrNode.title = f.skills.filter((k) => k.trim() !== '').join('、');
    }
    if (s.sx !== f.sx) f.attrNode.textContent = '属性' + f.sx;
    const badge = f.hp > 0 ? f.badge : 0;
    if (s.badge !== badge) {
      f.badgeNode.textContent = BADGES[badge] ?? '';
      f.badgeNode.hidden = badge === 0;
    }
    if (s.hp !== f.hp || s.maxhp !== f.maxhp || s.name !== f.name) {
      setMeter(f.bar, f.hp, f.maxhp, shortName(f.name));
      f.hpNode.textContent = `${f.hp}/${f.maxhp}`;
      f.row.classList.toggle('fallen', f.hp <= 0);
    }
    f.shown = { name: f.name, sx: f.sx, badge, hp: f.hp, maxhp: f.maxhp };
  }

  // A team's count of who stands and its total as a bar.
  function paintTeam(team, fighters) {
    let up = 0;
    let hp = 0;
    let max = 0;
    for (const k of team.members) {
      const f = fighters[k];
      if (f.hp > 0) ++up;
      const top = Math.max(f.maxhp, 0);
      hp += Math.min(Math.max(f.hp, 0), top);
      max += top;
    }
    const text = `${up}/${team.members.length}人`;
    if (team.count.textContent !== text) team.count.textContent = text;
    setMeter(team.total, hp, max);
    team.box.classList.toggle('fallen', up === 0);
  }

  // The odds before the battle as elements: each team's share of the silent games won.
  function prefightView([played, noWinner, undecided, ...wins]) {
    const percent = (n) => Math.round((100 * n) / Math.max(played, 1)) + '%';
    const rows = wins.map((won, k) => {
      const line = element('div', 'odds-row');
      const bar = meter('odds');
      setMeter(bar, Math.round((1000 * won) / Math.max(played, 1)) / 10, 100, `第${k + 1}队胜率`);
      line.append(element('span', 'label', `第${k + 1}队`), bar, element('span', 'pct', percent(won)));
      return line;
    });
    const extra = [];
    if (noWinner > 0) extra.push(`无人生还 ${percent(noWinner)}`);
    if (undecided > 0) extra.push(`未分胜负 ${percent(undecided)}`);
    const view = [element('div', 'prefight-head', `开战前的胜率（模拟${played}局）`), ...rows.slice(0, 12)];
    if (rows.length > 12) view.push(element('div', 'more', `……共${rows.length}队`));
    if (extra.length > 0) view.push(element('div', 'more', extra.join('　')));
    return view;
  }

  class Board {
    #root;
    #teamsBox;
    #prefight;
    #fighters = []; // by slot - 1: {hp, maxhp, sx, badge, team, name, skills, row}
    #known = []; // by slot - 1: {name, skills} as last sent
    #counted = 0;
    #teams = new Map(); // team number -> {box, members: [index], open, ...}
    #folded = false;
    #regrouping = false;

    constructor({ root, teamsBox, prefight }) {
      this.#root = root;
      this.#teamsBox = teamsBox;
      this.#prefight = prefight;
    }

    reset() {
      this.#fighters = [];
      this.#known = [];
      this.#regrouping = false;
      this.#counted = 0;
      this.#teams = new Map();
      this.#folded = false;
      this.#teamsBox.replaceChildren();
      this.#prefight.hidden = true;
      this.#prefight.replaceChildren();
      this.#root.hidden = true;
    }

    fighters() {
      return this.#fighters;
    }

    // Draws the newest roster of those handed over since the last frame.
    update(rosters) {
      if (rosters.length === 0) return;
      for (const { numbers, labels } of rosters) this.#take(numbers, labels);
      if (this.#regrouping) this.#regroup();
      for (const team of this.#teams.values()) {
        for (const k of team.members) if (this.#fighters[k].row) paint(this.#fighters[k]);
        paintTeam(team, this.#fighters);
      }
      this.#root.hidden = this.#fighters.length === 0 && this.#prefight.hidden;
    }

    // Which teams stand: of those the game counts (1 ... counted), with who stands in each.
    standing() {
      const by = new Map();
      for (const f of this.#fighters) {
        if (f.team < 1 || f.team > this.#counted || f.hp <= 0) continue;
        if (!by.has(f.team)) by.set(f.team, []);
        by.get(f.team).push(f);
      }
      return by;
    }

    // The odds before the battle: each team's share of the silent games won.
    showPrefight(tally) {
      this.#prefight.replaceChildren(...prefightView(tally));
      this.#prefight.hidden = false;
      this.#root.hidden = false;
    }

    // One roster as web/roster_view.cpp sends it. Labels (name and skills) come only when they
    // change, so every roster handed over is taken in order, even those never drawn.
    #take(numbers, labels) {
      const count = numbers[0];
      this.#counted = numbers[1];
      let at = 4 + count * FIELDS;
      let offset = 0;
      for (let k = 0; k < numbers[2]; ++k) {
        const slot = numbers[at++];
        const size = numbers[at++];
        const [name, ...skills] = decoder.decode(labels.subarray(offset, offset + size)).split('\n');
        offset += size;
        this.#known[slot - 1] = { name, skills };
      }
      const fighters = this.#fighters;
      if (count !== fighters.length) this.#regrouping = true;
      fighters.length = Math.min(fighters.length, count);
      for (let k = 0; k < count; ++k) {
        const base = 4 + k * FIELDS;
        const f = (fighters[k] ??= { row: null, team: 0, slot: k + 1 });
        Object.assign(f, this.#known[k]);
        [f.hp, f.maxhp, f.sx, f.badge] = numbers.subarray(base, base + 4);
        if (f.team !== numbers[base + 4]) {
          f.team = numbers[base + 4];
          this.#regrouping = true;
        }
      }
    }

    // Teams made anew: fighters joined, left or changed sides.
    #regroup() {
      this.#regrouping = false;
      this.#folded = this.#fighters.length >= FOLD_FROM;
      const members = new Map();
      this.#fighters.forEach((f, k) => {
        if (!members.has(f.team)) members.set(f.team, []);
        members.get(f.team).push(k);
        f.row = null;
      });
      for (const number of this.#teams.keys()) {
        if (!members.has(number)) this.#teams.delete(number);
      }
      for (const [number, list] of members) {
        if (!this.#teams.has(number)) this.#teams.set(number, this.#teamBox(number));
        const team = this.#teams.get(number);
        team.members = list;
        team.list.replaceChildren();
      }
      const order = [...this.#teams.values()].sort((x, y) => x.number - y.number);
      this.#teamsBox.replaceChildren(...order.map((team) => team.box));
      for (const team of order) this.#fillTeam(team);
    }

    #teamBox(number) {
      const box = element('section', 'team');
      const head = element('div', 'head');
      const count = element('span', 'count');
      const total = meter('total');
      total.setAttribute('aria-label', `第${number}队总血量`);
      const toggle = element('button', 'toggle', '展开');
      toggle.type = 'button';
      toggle.setAttribute('aria-expanded', 'false');
      head.append(element('span', 'title', `第${number}队`), count, toggle);
      const list = element('ol', 'members');
      box.append(head, total, list);
      const team = { number, box, count, total, toggle, list, members: [], open: false };
      toggle.addEventListener('click', () => {
        team.open = !team.open;
        toggle.textContent = team.open ? '收起' : '展开';
        toggle.setAttribute('aria-expanded', String(team.open));
        this.#fillTeam(team);
      });
      return team;
    }

    // A team's fighters are made into rows only while they can be seen.
    #fillTeam(team) {
      team.toggle.hidden = !this.#folded;
      const members = team.members.map((k) => this.#fighters[k]);
      if (this.#folded && !team.open) {
        team.list.replaceChildren();
        for (const f of members) f.row = null;
        return;
      }
      const rows = [];
      for (const f of members.filter((m) => m.row === null)) {
        rows.push(row(f));
        paint(f);
      }
      if (rows.length > 0) team.list.append(...rows);
    }
  }

  // A small chart of each team's chance, round by round, as the live odds estimated it. `name`
  // says what a team is called (the endless mode's 你 and 敌人, as its odds lines say).
  function chart(series, name = (team) => `第${team}队`) {
    const svgNS = 'http://www.w3.org/2000/svg';
    const rounds = series.length;
    if (rounds === 0) return null;
    const teams = [...new Set(series.flatMap((s) => s.teams))].sort((x, y) => x - y).slice(0, 8);
    const width = 320;
    const height = 120;
    const x = (k) => (rounds === 1 ? width / 2 : 8 + (k * (width - 16)) / (rounds - 1));
    const y = (share) => 8 + (1 - share) * (height - 24);
    const svg = document.createElementNS(svgNS, 'svg');
    svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
    svg.setAttribute('class', 'chart');
    svg.setAttribute('role', 'img');
    const summary = [];
    for (const [k, team] of teams.entries()) {
      const points = series.map((s, r) => {
        const at = s.teams.indexOf(team);
        const share = at === -1 || s.played === 0 ? 0 : s.wins[at] / s.played;
        return [x(r), y(share), share];
      });
      const line = document.createElementNS(svgNS, 'polyline');
      line.setAttribute('points', points.map(([px, py]) => `${px.toFixed(1)},${py.toFixed(1)}`).join(' '));
      line.setAttribute('class', `series c${(k % 6) + 1}`);
      svg.appendChild(line);
      const label = document.createElementNS(svgNS, 'text');
      label.setAttribute('x', '4');
      label.setAttribute('y', String(height - 4 - 0));
      label.setAttribute('class', `c${(k % 6) + 1}`);
      label.setAttribute('transform', `translate(${k * 56} 0)`);
      label.textContent = name(team);
      svg.appendChild(label);
      summary.push(`${name(team)}从${Math.round(points[0][2] * 100)}%到${Math.round(points.at(-1)[2] * 100)}%`);
    }
    svg.setAttribute('aria-label', `各队每回合的胜率（${rounds}回合）：${summary.join('，')}`);
    return svg;
  }

  window.MorvaneBoard = { create: (parts) => new Board(parts), chart };
}
