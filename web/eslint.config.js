// The linter of the page's JavaScript (run by scripts/web-test, pinned in package-lock.json):
// the page's scripts as the browser runs them, the workers, and the tests and figures in Node.
import js from '@eslint/js';
import globals from 'globals';

const strict = {
  eqeqeq: ['error', 'always'],
  'no-var': 'error',
  'prefer-const': 'error',
  'no-unused-vars': ['error', { args: 'after-used', caughtErrors: 'none' }],
  'no-shadow': 'error',
  'no-implicit-globals': 'error',
  // The page shows control characters as characters of their own: it matches them on purpose.
  'no-control-regex': 'off',
};

export default [
  { ignores: ['node_modules/'] },
  js.configs.recommended,
  {
    // The page's classic scripts share the window: each adds one name to it.
    files: ['narration.js', 'board.js', 'page.js'],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.browser, MorvaneModule: 'readonly' },
    },
    rules: strict,
  },
  {
    // Loaded by the page to be made into a worker, or started as one.
    files: ['worker.js'],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.browser, ...globals.worker, MorvaneModule: 'readonly' },
    },
    rules: { ...strict, 'no-unused-vars': ['error', { varsIgnorePattern: '^morvaneWorker$' }], 'no-implicit-globals': 'off' },
  },
  {
    files: ['sw.js'],
    languageOptions: { sourceType: 'script', globals: globals.serviceworker },
    rules: strict,
  },
  {
    files: ['tests/**/*.mjs', 'bench.mjs', 'eslint.config.js'],
    languageOptions: {
      sourceType: 'module',
      // What runs inside the page through page.evaluate sees the browser's names.
      globals: { ...globals.node, ...globals.browser },
    },
    rules: strict,
  },
];
