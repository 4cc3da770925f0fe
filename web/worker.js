// The page's worker: checks a link's code (the whole fight played quietly, as `morvane replay`
// does) and plays the silent games of the odds before a battle, so that neither ever holds up
// the page. Started from this file beside a served page; a page with the module in one file
// (opened from disk, or morvane.html) makes it from this function's source and the module's.
'use strict';
function morvaneWorker(scope, loadModule) {
  let loaded = null;
  // The page knows from this that the worker started (a failure after it is the work's own).
  scope.postMessage({ started: true });
  scope.onmessage = async ({ data }) => {
    loaded ??= loadModule();
    const module = await loaded;
    if (data.kind === 'check') {
      let message = '';
      module.page = { code: data.code, refused: (why) => (message = why) };
      const ok = module._morvane_check() === 0;
      scope.postMessage({ id: data.id, ok, message });
    } else if (data.kind === 'odds') {
      let tally = null;
      module.page = { lines: data.lines, tally: (numbers) => (tally = numbers) };
      module._morvane_prefight(data.mode, data.seed, data.most, data.budget);
      scope.postMessage({ id: data.id, tally });
    }
  };
}

if (typeof document === 'undefined') {
  // Started from this file: the module and its .wasm are beside it.
  morvaneWorker(self, () => {
    importScripts('morvane.js');
    return MorvaneModule({});
  });
}
